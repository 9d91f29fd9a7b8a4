#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

// A window that is never shown: holds the image lists that the list forms show (tree nodes,
// list rows, receipt states).
class TForm_XT_ShareControl : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_XT_ShareControl)

public:
    explicit TForm_XT_ShareControl(QWidget *parent = nullptr);

    QList<QIcon> ImgTree;         // closed folder, open folder, leaf
    QList<QIcon> ImgBasicGrid_20; // 20 × 20 list row images
    QList<QIcon> ImgBillState1;   // 20 × 20 receipt states
};

extern TForm_XT_ShareControl *Form_XT_ShareControl;
