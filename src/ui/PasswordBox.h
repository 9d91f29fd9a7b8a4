#pragma once

class QLineEdit;
class QString;
class QWidget;

// A one-line box for a password: it shows "*" for every character typed, whatever the style's
// own mask character is.
QLineEdit *NewPasswordBox(QWidget *parent, const QString &objectName);
