#include "data/SchemaUpgrade.h"

#include "data/BillNumbering.h"
#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/DbTransaction.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

#include <QStringList>

namespace {

UpgradeStatementHook statementHook = nullptr;
int statementsSent = 0;

void beforeStatement() {
    ++statementsSent;
    if (statementHook)
        statementHook(statementsSent);
}

void execute(const QString &statement) {
    beforeStatement();
    DbQuery &update = ShareDM1->ShareUpdate1;
    update.execSql(statement);
}

// What a step looks for: a column of a table, or (looksForTable) the table itself.
struct Probe {
    const char *table;
    const char *column;
    bool looksForTable = false;

    QString statement() const {
        return QStringLiteral("select top 1 ") + QString::fromLatin1(column) + QStringLiteral(" from ") +
               QString::fromLatin1(table);
    }
    // The engine's message when exactly that is missing.
    QString missing() const {
        return looksForTable ? QStringLiteral("no such table: ") + QString::fromLatin1(table)
                             : QStringLiteral("no such column: ") + QString::fromLatin1(column);
    }
};

// Whether the probe opens. Only the error that names what it looks for means "missing": any
// other failure (a damaged page, a file that cannot be read) raises with its own message,
// instead of starting repairs on a database that has what they add.
bool probeOpens(const Probe &probe) {
    beforeStatement();
    DbQuery &query = ShareDM1->ShareQuery1;
    try {
        query.open(probe.statement());
        query.close();
        return true;
    } catch (const DbError &error) {
        if (error.message().compare(probe.missing(), Qt::CaseInsensitive) == 0)
            return false;
        throw;
    }
}

// A step: when its probe fails, its repairs run one by one, each raising out on failure.
// The probe, the repairs and the seed rows are one transaction, so that a step broken off
// half-way (an error, or the program killed) leaves nothing and runs again next time.
void upgradeStep(const Probe &probe, const QStringList &repairs, void (*after)() = nullptr) {
    DbTransaction transaction(ShareDM1->ShareConn);
    if (probeOpens(probe))
        return;
    for (const QString &statement : repairs)
        execute(statement);
    if (after)
        after();
    transaction.commit();
}

const QString billConfigInsert = QStringLiteral(
    "insert into xt_billconfig(billconfigid,billtype,billmark,codetype,separator,startno,example,tablename,"
    "dateseparator,notype)values(");

const QString accountSetInsert =
    QStringLiteral("insert into xt_accountset(accountsetid,cfgkey,cfgvalues,name,remark,typeflag)values(");

const QString gridInsert =
    QStringLiteral("insert into g_config(gridname,colname,colcaption,colwidth,alignment,"
                   "colno,defaultcaption,defaultwidth)values(");

// Upgrade step 4, last repair: every paying party without a code gets the next code of rule 2,
// in the order the rows come back. Each update runs before the next code is asked for, so the
// codes come out consecutive. The walk is on PrintQuery1 because MakeBillCode uses ShareQuery1.
void codePayingParties() {
    DbQuery &walk = ShareDM1->PrintQuery1;
    walk.open(QStringLiteral("select companyid,tablecode from aa_company"));
    for (; !walk.eof(); walk.next()) {
        if (!walk.asText("tablecode").isEmpty())
            continue;
        const QString code = MakeBillCode(2);
        execute(QStringLiteral("update aa_company set tablecode='") + QuoteSql(code) +
                QStringLiteral("' where companyid=") + QString::number(walk.asInteger("companyid")));
    }
    walk.close();
}

const QStringList &step4Repairs() {
    static const QStringList repairs = {
        QStringLiteral(
            "create table aa_goodstype (goodstypeid\t\tinteger default 0,\t\ttablecode\tvarchar(50),\t\t"
            "name\tvarchar(50),\t\tnamecode\tvarchar(50),\t\tparentid\tinteger default 0,\t\t"
            "levelcode\tvarchar(100),\t\tCONSTRAINT aa_goodstype PRIMARY KEY(goodstypeid))"),
        QStringLiteral("alter table aa_goods add goodstypeid integer default 0"),
        QStringLiteral("alter table ss_saledetail alter column amt double"),
        QStringLiteral("update ss_saledetail set amt=qty*price"),
        QStringLiteral(
            "create table xt_billconfig (billconfigid\t\tinteger default 0,\t\tbilltype\tvarchar(20),\t\t"
            "billmark\tvarchar(8),\t\tcodetype\tvarchar(6),\t\tseparator\tvarchar(1),\t\t"
            "startno\tvarchar(8),\t\texample\tvarchar(50),\t\ttablename\tvarchar(50),\t\t"
            "dateseparator\tbit default false,\t\tnotype\tbit default true,\t\t"
            "CONSTRAINT xt_billconfig PRIMARY KEY(billconfigid))"),
        billConfigInsert +
            QStringLiteral("1,'商品编号','','自定义','','00001','00001','aa_goods',false,true)"),
        billConfigInsert +
            QStringLiteral("2,'交款单位编号','DW','自定义','-','00001','DW-00001','aa_company',false,true)"),
        billConfigInsert + QStringLiteral("3,'员工编号','','自定义','','001','001','aa_staff',false,true)"),
        billConfigInsert +
            QStringLiteral("4,'收据编号','','自定义','','0000001','0000001','ss_sale',false,true)"),
        QStringLiteral("alter table aa_company add linkman varchar(50)"),
        QStringLiteral("alter table aa_company add phone varchar(100)"),
        QStringLiteral("alter table aa_company add adr varchar(100)"),
        QStringLiteral("alter table aa_company add remark varchar(100)"),
        QStringLiteral("alter table aa_company add tablecode varchar(50)"),
    };
    return repairs;
}

QString gridRow(const char *column, const char *caption, int width, int alignment, int position) {
    const QString name = QString::fromUtf8(column);
    const QString text = QString::fromUtf8(caption);
    return gridInsert + QStringLiteral("'单据录入明细','%1','%2',%3,%4,%5,'%2',%3)")
                            .arg(name, text)
                            .arg(width)
                            .arg(alignment)
                            .arg(position);
}

// Upgrade step 10: the third function setting, when it is missing. Errors are not caught.
void step10() {
    DbTransaction transaction(ShareDM1->ShareConn);
    beforeStatement();
    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(QStringLiteral("select accountsetid from xt_accountset where accountsetid=3"));
    if (query.eof())
        execute(accountSetInsert + QStringLiteral("3,'editminus','0','允许金额为负数','1---是   0---否',0)"));
    transaction.commit();
}

// Not an upgrade step: the columns the steps add that lookups filter on get their indexes here,
// because a fresh file cannot carry them (the steps add those columns) and an old file never
// had them. An index is made only when its column exists, so that a database whose upgrade
// stops at a failing step still logs in.
void ensureIndexes() {
    struct Index {
        const char *name;
        const char *table;
        const char *column;
    };
    static const Index indexes[] = {
        {"ix_aa_goods_barcode", "aa_goods", "barcode"},
        {"ix_aa_goods_goodstypeid", "aa_goods", "goodstypeid"},
        {"ix_aa_company_tablecode", "aa_company", "tablecode"},
        {"ix_xt_log_billid", "xt_log", "billid"},
    };
    for (const Index &index : indexes) {
        DbTransaction transaction(ShareDM1->ShareConn);
        if (probeOpens({index.table, index.column}))
            execute(QStringLiteral("create index if not exists ") + QString::fromLatin1(index.name) +
                    QStringLiteral(" on ") + QString::fromLatin1(index.table) + u'(' +
                    QString::fromLatin1(index.column) + u')');
        transaction.commit();
    }
}

} // namespace

void SetUpgradeStatementHook(UpgradeStatementHook hook) {
    statementHook = hook;
}

void UpgradeSchema() {
    statementsSent = 0;
    // Step 1: goods barcodes.
    upgradeStep({"aa_goods", "barcode"}, {QStringLiteral("alter table aa_goods add barcode varchar(50)")});

    // Step 2: the entry form's print option per operator.
    upgradeStep({"aa_staff", "defaultprint"},
                {QStringLiteral("alter table aa_staff add defaultprint bit default false")});

    // Step 3: payment methods.
    upgradeStep({"aa_chargetype", "chargetypeid", true},
                {QStringLiteral("create table aa_chargetype (chargetypeid\t\tinteger default 0,\t\t"
                                "name\tvarchar(50),\t\tnamecode\tvarchar(50),   "
                                "CONSTRAINT PK_aa_chargetype_id PRIMARY KEY(chargetypeid))"),
                 QStringLiteral("alter table ss_sale add skfsname varchar(50)")});

    // Step 4: goods categories, amounts as doubles, numbering rules, paying-party details and codes.
    upgradeStep({"aa_goodstype", "goodstypeid", true}, step4Repairs(), codePayingParties);

    // Step 5: function settings.
    upgradeStep(
        {"xt_accountset", "accountsetid", true},
        {QStringLiteral("create table xt_accountset (accountsetid\t\tinteger default 0,\t\t"
                        "cfgkey\tvarchar(50),\t\tcfgvalues\tvarchar(200),\t\tname\tvarchar(100),\t\t"
                        "remark\tvarchar(100),\t\ttypeflag\tinteger default 0,\t\t"
                        "CONSTRAINT xt_accountset PRIMARY KEY(accountsetid))"),
         accountSetInsert + QStringLiteral("1,'softname','Quillo收据打印软件8.0','自定义系统名',"
                                           "'可替换标题栏中\"Quillo收据打印软件8.0\"字样，更显个性化',0)"),
         accountSetInsert +
             QStringLiteral(
                 "2,'rowcnt','4','自定义单据可录入商品行数','单据可以录入商品行数，可设置大小1-2000',0)")});

    // Step 6: the column layout of the receipt line grid.
    upgradeStep({"g_config", "recid", true},
                {QStringLiteral(
                     "create table g_config (recid\t\tautoincrement,\t\tgridname\tvarchar(50),\t\t"
                     "colname\tvarchar(50),\t\tcolcaption\tvarchar(50),\t\tcolwidth\tinteger default 0,\t\t"
                     "alignment\tinteger default 0,\t\tcolno\tinteger default 0,\t\t"
                     "defaultcaption\tvarchar(50),\t\tdefaultwidth\tinteger default 0,\t\t"
                     "CONSTRAINT g_config PRIMARY KEY(recid))"),
                 gridRow("colno", "序", 30, 0, 0), gridRow("tablecode", "编号", 120, 0, 1),
                 gridRow("name", "名称", 180, 0, 2), gridRow("goodsmodal", "规格型号", 200, 0, 3),
                 gridRow("unit_name", "单位", 60, 0, 4), gridRow("qty", "数量", 100, 1, 5),
                 gridRow("price", "单价", 120, 1, 6), gridRow("amt", "金额", 120, 1, 7),
                 gridRow("remark", "备注", 300, 0, 8)});

    // Step 7: contact details on the receipt.
    upgradeStep({"ss_sale", "linkman"}, {QStringLiteral("alter table ss_sale add linkman varchar(50)"),
                                         QStringLiteral("alter table ss_sale add phone varchar(100)"),
                                         QStringLiteral("alter table ss_sale add adr varchar(100)"),
                                         QStringLiteral("alter table ss_sale add remark varchar(200)")});

    // Step 8: log rows point at their receipt.
    upgradeStep(
        {"xt_log", "billid"},
        {QStringLiteral("alter table xt_log add billid integer default 0"),
         QStringLiteral("alter table xt_log add logflag integer default 0"),
         QStringLiteral("update xt_log a,ss_sale b set a.billid=b.saleid where a.billcode=b.billcode"),
         QStringLiteral("update xt_log set logflag=1")});

    // Step 9: the factory position of each grid column.
    upgradeStep({"g_config", "defaultcolno"},
                {QStringLiteral("alter table g_config add defaultcolno integer default 0"),
                 QStringLiteral("update g_config set defaultcolno=colno")});

    // Step 10: the negative-amounts setting.
    step10();

    // Step 11: the 百万 and 千万 digit columns.
    upgradeStep({"ss_sale", "bw1"}, {QStringLiteral("alter table ss_sale add bw1 varchar(50)"),
                                     QStringLiteral("alter table ss_sale add qw1 varchar(50)"),
                                     QStringLiteral("alter table ss_saledetail add bw1 varchar(50)"),
                                     QStringLiteral("alter table ss_saledetail add qw1 varchar(50)")});

    ensureIndexes();
    ShareDM1->ShareQuery1.close();
}
