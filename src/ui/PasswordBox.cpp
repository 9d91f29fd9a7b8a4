#include "ui/PasswordBox.h"

#include <QLineEdit>

QLineEdit *NewPasswordBox(QWidget *parent, const QString &objectName) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setEchoMode(QLineEdit::Password);
    // The mask character as a code point: 42 is "*".
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return edit;
}
