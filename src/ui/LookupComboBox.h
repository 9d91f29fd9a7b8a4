#pragma once

#include <QComboBox>

// An editable combo box without a list of its own, the box of a live lookup: its drop-down
// button (and Alt+Down or F4) asks for the lookup grid instead of a list.
class LookupComboBox : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LookupComboBox)

public:
    explicit LookupComboBox(QWidget *parent = nullptr);

    void showPopup() override;

signals:
    void dropDownRequested();
};
