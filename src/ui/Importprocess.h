#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The progress window of long batch work (deleting many rows, the spreadsheet import).
// The caller sets the bar's range and advances it.
class TForm_Importprocess : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_Importprocess)

public:
    explicit TForm_Importprocess(QWidget *parent = nullptr);

    QLabel *Label1; // the caption line
    QLabel *Label2;
    QProgressBar *ProgressBar1;
};

extern TForm_Importprocess *Form_Importprocess;
