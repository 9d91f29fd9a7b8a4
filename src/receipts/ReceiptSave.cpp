#include "receipts/ReceiptSave.h"

#include "data/BillNumbering.h"
#include "data/DateText.h"
#include "data/DbError.h"
#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
#include "data/SpellCode.h"
#include "data/StatementRoutines.h"
#include "receipts/SharedQuery.h"
#include "receipts/core/AmountConversionError.h"
#include "receipts/core/AmountRules.h"
#include "receipts/core/TextToNumber.h"

#include <QStringList>

namespace {

qint64 countOf(const QString &statement) {
    DbQuery &query = OpenSharedQuery(statement);
    const qint64 count = query.asInteger("iCnt");
    query.close();
    return count;
}

void addNamedRowIfNew(const QString &table, const QString &keyColumn, const QString &name) {
    if (countOf(QStringLiteral("select count(") + keyColumn + QStringLiteral(") as iCnt from ") + table +
                QStringLiteral(" where name=") + QuotedText(name)) != 0)
        return;
    const int key = NextKey(table);
    ExecuteStatement(QStringLiteral("insert into ") + table + QStringLiteral("(name,namecode,") + keyColumn +
                     QStringLiteral(")values(") + QuotedText(name) + u',' + QuotedText(GetSpellCode(name)) +
                     u',' + QString::number(key) + u')');
}

} // namespace

void ExecuteStatement(const QString &statement) {
    ShareDM1->ShareConn.execute(statement);
}

QString QuotedText(const QString &text) {
    return u'\'' + QuoteSql(text) + u'\'';
}

QString BareNumber(const QString &text) {
    NumberOf(text);
    return text;
}

double NumberOf(const QString &text) {
    const auto value = TextToNumber(text);
    if (!value)
        throw AmountConversionError(QStringLiteral("“%1”不是有效的数字！").arg(text));
    return *value;
}

QString DigitValues(double amount) {
    QStringList values;
    for (int place = 0; place <= 9; ++place)
        values.append(QuotedText(AmountDigit(place, amount)));
    return values.join(u',');
}

void AddPayingPartyIfNew(const QString &name, const QString &linkman, const QString &phone,
                         const QString &adr) {
    if (countOf(QStringLiteral("select count(companyid) as iCnt from aa_company where name=") +
                QuotedText(name)) != 0)
        return;
    const int key = NextKey(QStringLiteral("aa_company"));
    const QString code = MakeBillCode(2);
    ExecuteStatement(
        QStringLiteral("insert into aa_company(tablecode,name,namecode,linkman,phone,adr,companyid)values(") +
        QuotedText(code) + u',' + QuotedText(name) + u',' + QuotedText(GetSpellCode(name)) + u',' +
        QuotedText(linkman) + u',' + QuotedText(phone) + u',' + QuotedText(adr) + u',' +
        QString::number(key) + u')');
}

void AddPaymentMethodIfNew(const QString &name) {
    addNamedRowIfNew(QStringLiteral("aa_chargetype"), QStringLiteral("chargetypeid"), name);
}

void InsertReceiptLines(int saleId, const QList<ReceiptLine> &lines) {
    static const QString columns =
        QStringLiteral("saleid,saledetailid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark,"
                       "f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1");
    for (const ReceiptLine &line : lines) {
        if (!line.isLine())
            continue;
        const int key = NextKey(QStringLiteral("ss_saledetail"));
        const QString values =
            QString::number(saleId) + u',' + QString::number(key) + u',' + QuotedText(line.code) + u',' +
            QuotedText(line.name) + u',' + QuotedText(line.model) + u',' + QuotedText(line.unit) + u',' +
            BareNumber(line.quantity) + u',' + BareNumber(line.price) + u',' + BareNumber(line.amount) +
            u',' + QuotedText(line.remark) + u',' + DigitValues(NumberOf(line.amount));
        ExecuteStatement(QStringLiteral("insert into ss_saledetail(") + columns + QStringLiteral(")values(") +
                         values + u')');
    }
}

void AddLineMasterData(const QList<ReceiptLine> &lines) {
    for (const ReceiptLine &line : lines) {
        if (!line.isLine())
            continue;
        if (countOf(QStringLiteral("select count(goodsid) as iCnt from aa_goods where tablecode=") +
                    QuotedText(line.code)) == 0) {
            const int key = NextKey(QStringLiteral("aa_goods"));
            ExecuteStatement(
                QStringLiteral(
                    "insert into "
                    "aa_goods(tablecode,name,namecode,goodsmodal,unit_name,price,goodsid)values(") +
                QuotedText(line.code) + u',' + QuotedText(line.name) + u',' +
                QuotedText(GetSpellCode(line.name)) + u',' + QuotedText(line.model) + u',' +
                QuotedText(line.unit) + u',' + BareNumber(line.price) + u',' + QString::number(key) + u')');
        }
        if (!line.unit.isEmpty())
            addNamedRowIfNew(QStringLiteral("aa_unit"), QStringLiteral("unitid"), line.unit);
        if (!line.remark.isEmpty())
            addNamedRowIfNew(QStringLiteral("aa_remark"), QStringLiteral("remarkid"), line.remark);
    }
}

SavedReceipt SaveNewReceipt(const ReceiptDraft &draft) {
    DbTransaction transaction(ShareDM1->ShareConn);
    SavedReceipt saved;
    saved.billCode = draft.billCode.isEmpty() ? MakeBillCode(4) : draft.billCode;
    saved.saleId = NextKey(QStringLiteral("ss_sale"));
    WriteLog(LogNewReceipt, saved.billCode, saved.saleId, 1);

    QString fields = QStringLiteral("saleid,billdate,billcode,opname,");
    QString values = QString::number(saved.saleId) + u',' + QuotedText(DateText(draft.billDate)) + u',' +
                     QuotedText(saved.billCode) + u',' + QuotedText(OperatorName) + u',';
    AddPayingPartyIfNew(draft.companyName, draft.linkman, draft.phone, draft.adr);
    fields += QStringLiteral("companyname,");
    values += QuotedText(draft.companyName) + u',';
    const struct {
        const char *column;
        const QString &text;
    } optional[] = {{"linkman", draft.linkman}, {"phone", draft.phone},   {"adr", draft.adr},
                    {"zgname", draft.zgName},   {"kjname", draft.kjName}, {"skrname", draft.skrName}};
    for (const auto &pair : optional) {
        if (pair.text.isEmpty())
            continue;
        fields += QString::fromLatin1(pair.column) + u',';
        values += QuotedText(pair.text) + u',';
    }
    if (!draft.skfsName.isEmpty()) {
        AddPaymentMethodIfNew(draft.skfsName);
        fields += QStringLiteral("skfsname,");
        values += QuotedText(draft.skfsName) + u',';
    }
    if (!draft.remark.isEmpty()) {
        fields += QStringLiteral("remark,");
        values += QuotedText(draft.remark) + u',';
    }
    fields += QStringLiteral("totalamt,cnamt,");
    values += BareNumber(draft.total) + u',' + QuotedText(draft.capitals) + u',';
    fields += QStringLiteral("f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1");
    values += DigitValues(NumberOf(draft.total));
    ExecuteStatement(QStringLiteral("insert into ss_sale(") + fields + QStringLiteral(")values(") + values +
                     u')');

    InsertReceiptLines(saved.saleId, draft.lines);
    AddLineMasterData(draft.lines);
    transaction.commit();
    return saved;
}
