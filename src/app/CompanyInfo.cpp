#include "app/CompanyInfo.h"

#include "data/DbQuery.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

namespace {

const QString SelectCurrent = QStringLiteral("select * from xt_userinfo order by userinfoid desc");

CompanyInfo FromRow(const DbQuery &q) {
    return {q.asText("username"), q.asText("linkman"), q.asText("phone"), q.asText("fax"),
            q.asText("zip"),      q.asText("adr"),     q.asText("remark")};
}

QString Quoted(const QString &text) {
    return u'\'' + QuoteSql(text) + u'\'';
}

} // namespace

CompanyInfo ReadCompanyInfo() {
    DbQuery q(ShareDM1->ShareConn);
    q.open(SelectCurrent);
    const CompanyInfo info = q.eof() ? CompanyInfo{} : FromRow(q);
    q.close();
    return info;
}

void SaveCompanyInfo(const CompanyInfo &info) {
    DbQuery q(ShareDM1->ShareConn);
    q.open(SelectCurrent);
    const bool empty = q.eof();
    const qint64 id = q.asInteger("userinfoid");
    q.close();

    q.clear();
    if (empty) {
        q.setText(
            QStringLiteral("insert into xt_userinfo(username,linkman,phone,fax,zip,adr,remark) values(") +
            Quoted(info.name) + u',' + Quoted(info.contact) + u',' + Quoted(info.phone) + u',' +
            Quoted(info.fax) + u',' + Quoted(info.zip) + u',' + Quoted(info.address) + u',' +
            Quoted(info.remark) + u')');
    } else {
        q.setText(QStringLiteral("update xt_userinfo set username=") + Quoted(info.name) +
                  QStringLiteral(",linkman=") + Quoted(info.contact) + QStringLiteral(",phone=") +
                  Quoted(info.phone) + QStringLiteral(",fax=") + Quoted(info.fax) + QStringLiteral(",zip=") +
                  Quoted(info.zip) + QStringLiteral(",adr=") + Quoted(info.address) +
                  QStringLiteral(",remark=") + Quoted(info.remark) + QStringLiteral(" where userinfoid=") +
                  QString::number(id));
    }
    q.execSql();
}

void LoadCompanyInfo() {
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(SelectCurrent);
    // An empty result reads every column as empty text.
    CompanyName = q.asText("username");
    CompanyContact = q.asText("linkman");
    CompanyZip = q.asText("zip");
    CompanyAddress = q.asText("adr");
    CompanyPhone = q.asText("phone");
    CompanyFax = q.asText("fax");
}

bool FirstRunPromptDue() {
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(QStringLiteral("select username from xt_userinfo order by userinfoid desc"));
    return OperatorType.contains(QStringLiteral("管理员")) &&
           q.asText("username").contains(QStringLiteral("Quillo"));
}
