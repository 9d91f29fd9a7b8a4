#include "app/OperatorLogin.h"

#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

QStringList LoadOperatorNames() {
    QStringList names{QString()};
    if (SelectRows(QStringLiteral("aa_staff"), QStringLiteral("name"), QStringLiteral("name asc"),
                   QString())) {
        DbQuery &q = ShareDM1->ShareQuery1;
        for (; !q.eof(); q.next())
            names.append(q.asText("name"));
        q.close();
    }
    return names;
}

RememberedLogin ReadRememberedLogin() {
    RememberedLogin remembered;
    if (SelectRows(QStringLiteral("xt_userloginpwd"), QStringLiteral("*"), QStringLiteral("name asc"),
                   QString())) {
        DbQuery &q = ShareDM1->ShareQuery1;
        remembered = {q.asText("name"), q.asText("pwd")};
        q.close();
    }
    return remembered;
}

LoginCheck CheckLogin(const QString &name, const QString &password) {
    if (name.isEmpty())
        return LoginCheck::EmptyName;
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(QStringLiteral("select * from aa_staff where name='") + QuoteSql(name) +
           QStringLiteral("' and (loginpwd='") + QuoteSql(password) +
           QStringLiteral("' or loginpwd is null)"));
    if (q.eof())
        return LoginCheck::Wrong;
    OperatorName = q.asText("name");
    OperatorType = q.asText("type");
    IdleMinutes = static_cast<int>(q.asInteger("idlemin"));
    PrintPreview = q.asBool("printpreview");
    DefaultPrint = q.asBool("defaultprint");
    q.close();
    return LoginCheck::Ok;
}

void RememberLogin(bool remember, const QString &name, const QString &password) {
    if (remember)
        UpdateRows(QStringLiteral("xt_userloginpwd"),
                   QStringLiteral("name='") + QuoteSql(name) + QStringLiteral("',pwd='") +
                       QuoteSql(password) + u'\'',
                   QStringLiteral("1=1"));
    else
        UpdateRows(QStringLiteral("xt_userloginpwd"), QStringLiteral("name='',pwd=''"),
                   QStringLiteral("1=1"));
}

PasswordChange ChangePassword(const QString &oldPassword, const QString &newPassword,
                              const QString &repeated) {
    if (newPassword != repeated)
        return PasswordChange::Mismatch;
    if (newPassword.size() > 50)
        return PasswordChange::TooLong;
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(QStringLiteral("select count(staffid) as iCnt from aa_staff where name='") +
           QuoteSql(OperatorName) + QStringLiteral("' and (loginpwd='") + QuoteSql(oldPassword) +
           QStringLiteral("' or loginpwd is null)"));
    const qint64 count = q.asInteger("iCnt");
    q.close();
    if (count == 0)
        return PasswordChange::WrongOld;
    const bool ok =
        UpdateRows(QStringLiteral("aa_staff"), QStringLiteral("loginpwd='") + QuoteSql(newPassword) + u'\'',
                   QStringLiteral("name='") + QuoteSql(OperatorName) + u'\'');
    return ok ? PasswordChange::Done : PasswordChange::Failed;
}

bool ResetPassword() {
    return UpdateRows(QStringLiteral("aa_staff"), QStringLiteral("loginpwd=''"),
                      QStringLiteral("name='") + QuoteSql(OperatorName) + u'\'');
}
