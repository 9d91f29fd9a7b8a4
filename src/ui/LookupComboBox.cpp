#include "ui/LookupComboBox.h"

#include <QLineEdit>

LookupComboBox::LookupComboBox(QWidget *parent)
    : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

void LookupComboBox::showPopup() {
    emit dropDownRequested();
}
