#pragma once

#include "data/OperatorRights.h"

#include <QString>
#include <QStringList>

// Operators are staff members; these are the login's reads and writes, apart from its form.

inline const QString CompanyRefusalText =
    QStringLiteral("操作被阻止！\r\n原因：您没有此项权限！\r\n建议：请联系管理员在基础数据->员工目录->"
                   "员工资料中增加管理员权限！");

// An empty entry, then every staff name in name order (only the empty entry when the read fails).
QStringList LoadOperatorNames();

struct RememberedLogin {
    QString name;
    QString password;
};
RememberedLogin ReadRememberedLogin();

enum class LoginCheck { EmptyName, Wrong, Ok };
// Checks a name and password against aa_staff; on success fills OperatorName, OperatorType,
// IdleMinutes, PrintPreview and DefaultPrint from the first matching row. A staff member
// without a stored password (null) logs in with any password.
LoginCheck CheckLogin(const QString &name, const QString &password);

// Remembers this login for the next start, or clears the remembered one. Failures are ignored.
void RememberLogin(bool remember, const QString &name, const QString &password);

enum class PasswordChange { Mismatch, TooLong, WrongOld, Failed, Done };
// Changes the operator's password (every staff row of the operator's name).
PasswordChange ChangePassword(const QString &oldPassword, const QString &newPassword,
                              const QString &repeated);
// Sets the operator's password to the empty text; false when the update failed.
bool ResetPassword();
