#include "data/DatabaseFile.h"

#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/DbTransaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Column types: keys are integer primary keys (assigned by the program through xt_tablekey);
// text compares without regard to case as Jet does; dates are ISO text, so that text order
// is date order; yes/no is an integer holding -1 or 0; amounts are doubles.
//
// The columns that the upgrade adds together with a new table (aa_goods.goodstypeid,
// ss_sale.skfsname and the later aa_company columns) are left to it: its repairs add them
// and would fail on a file that had them already.
const char *const schema[] = {
    R"(create table aa_goods (
        goodsid integer primary key,
        tablecode varchar(50) collate nocase,
        name varchar(100) collate nocase,
        namecode varchar(100) collate nocase,
        goodsmodal varchar(100) collate nocase,
        unit_name varchar(50) collate nocase,
        price double default 0,
        barcode varchar(50) collate nocase))",
    R"(create table aa_company (
        companyid integer primary key,
        name varchar(100) collate nocase,
        namecode varchar(100) collate nocase))",
    R"(create table aa_staff (
        staffid integer primary key,
        tablecode varchar(50) collate nocase,
        name varchar(50) collate nocase,
        namecode varchar(50) collate nocase,
        type varchar(100) collate nocase,
        loginpwd varchar(50) collate nocase,
        idlemin integer default 0,
        printpreview integer default 0,
        defaultprint integer default 0))",
    R"(create table aa_unit (
        unitid integer primary key,
        name varchar(50) collate nocase,
        namecode varchar(50) collate nocase))",
    R"(create table aa_remark (
        remarkid integer primary key,
        name varchar(200) collate nocase,
        namecode varchar(200) collate nocase))",
    R"(create table ss_sale (
        saleid integer primary key,
        billdate text,
        billcode varchar(50) collate nocase,
        opname varchar(50) collate nocase,
        companyname varchar(100) collate nocase,
        linkman varchar(50) collate nocase,
        phone varchar(100) collate nocase,
        adr varchar(100) collate nocase,
        zgname varchar(50) collate nocase,
        kjname varchar(50) collate nocase,
        skrname varchar(50) collate nocase,
        remark varchar(200) collate nocase,
        totalamt double default 0,
        cnamt varchar(100) collate nocase,
        printqty integer default 0,
        f1 varchar(50), j1 varchar(50), y1 varchar(50), s1 varchar(50),
        b1 varchar(50), q1 varchar(50), w1 varchar(50), sw1 varchar(50),
        bw1 varchar(50), qw1 varchar(50)))",
    R"(create table ss_saledetail (
        saledetailid integer primary key,
        saleid integer default 0,
        tablecode varchar(50) collate nocase,
        name varchar(100) collate nocase,
        goodsmodal varchar(100) collate nocase,
        unit_name varchar(50) collate nocase,
        qty double default 0,
        price double default 0,
        amt double default 0,
        remark varchar(200) collate nocase,
        f1 varchar(50), j1 varchar(50), y1 varchar(50), s1 varchar(50),
        b1 varchar(50), q1 varchar(50), w1 varchar(50), sw1 varchar(50),
        bw1 varchar(50), qw1 varchar(50)))",
    R"(create table xt_tablekey (
        tablename varchar(50) collate nocase,
        maxkey integer default 0))",
    R"(create table xt_log (
        logid integer primary key,
        opname varchar(50) collate nocase,
        opdate text,
        opcontent varchar(100) collate nocase,
        billcode varchar(50) collate nocase,
        billid integer default 0,
        logflag integer default 0))",
    R"(create table pr_printcfg (
        RecID integer primary key autoincrement,
        stylename varchar(100) collate nocase,
        defaultstyle integer default 0,
        DefaultName varchar(100) collate nocase,
        MydefineName varchar(100) collate nocase,
        PrintFile varchar(200) collate nocase,
        curno integer default 0))",
    R"(create table xt_userinfo (
        userinfoid integer primary key autoincrement,
        username varchar(100) collate nocase,
        linkman varchar(50) collate nocase,
        phone varchar(100) collate nocase,
        fax varchar(100) collate nocase,
        zip varchar(50) collate nocase,
        adr varchar(200) collate nocase,
        remark varchar(2000) collate nocase))",
    R"(create table xt_userloginpwd (
        name varchar(50) collate nocase,
        pwd varchar(50) collate nocase))",

    // Lookups by code, name, barcode and receipt, and the date filters of the lists.
    "create unique index ix_xt_tablekey_tablename on xt_tablekey(tablename)",
    "create index ix_aa_goods_tablecode on aa_goods(tablecode)",
    "create index ix_aa_goods_name on aa_goods(name)",
    "create index ix_aa_goods_barcode on aa_goods(barcode)",
    "create index ix_aa_company_name on aa_company(name)",
    "create index ix_aa_staff_tablecode on aa_staff(tablecode)",
    "create index ix_aa_staff_name on aa_staff(name)",
    "create index ix_aa_unit_name on aa_unit(name)",
    "create index ix_aa_remark_name on aa_remark(name)",
    "create index ix_ss_sale_billdate on ss_sale(billdate)",
    "create index ix_ss_sale_billcode on ss_sale(billcode)",
    "create index ix_ss_saledetail_saleid on ss_saledetail(saleid)",
    "create index ix_xt_log_billid on xt_log(billid)",
    "create index ix_xt_log_opdate on xt_log(opdate)",

    // The rows a new installation needs.
    "insert into xt_userloginpwd(name,pwd) values('','')",
    "insert into aa_staff(staffid,tablecode,name,namecode,type,loginpwd,idlemin,printpreview,defaultprint) "
    "values(1,'001','管理员','GLY','管理员','',0,-1,0)",
    "insert into xt_tablekey(tablename,maxkey) values('aa_staff',1)",
    "insert into xt_userinfo(username,linkman,phone,fax,zip,adr,remark) "
    "values('Quillo收据打印软件用户','','','','','','')",
    "insert into pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno) "
    "values('收据',-1,'收据','收据','ss_sale1.fr3',1)",
};

// The tables no upgrade step creates: every database holds them from its creation on.
const char *const programTables[] = {"aa_goods",  "aa_company",  "aa_staff",      "aa_unit",
                                     "aa_remark", "ss_sale",     "ss_saledetail", "xt_tablekey",
                                     "xt_log",    "pr_printcfg", "xt_userinfo",   "xt_userloginpwd"};

// A database file and the journal the engine keeps beside it.
void removeDatabaseFile(const QString &path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

void CreateDatabase(const QString &path, const QString &password) {
    const QFileInfo target(path);
    if (target.exists() && !(target.isFile() && target.size() == 0))
        throw DbError(QStringLiteral("数据库文件已经存在：%1").arg(QDir::toNativeSeparators(path)));

    const QString building = path + QStringLiteral(".creating");
    removeDatabaseFile(building); // left by a creation that was killed
    DbConnection connection;
    try {
        connection.openFile(building, password, /*create=*/true);
        DbTransaction transaction(connection);
        for (const char *statement : schema)
            connection.executeNative(QString::fromUtf8(statement));
        transaction.commit();
        connection.close();
        if (target.exists())
            removeDatabaseFile(path); // the empty file
        if (!QFile::rename(building, path))
            throw DbError(QStringLiteral("无法创建数据库文件：%1").arg(QDir::toNativeSeparators(path)));
    } catch (...) {
        connection.close();
        removeDatabaseFile(building);
        throw;
    }
}

void CheckProgramTables(DbConnection &connection) {
    DbQuery probe(connection);
    for (const char *table : programTables) {
        const QString name = QString::fromLatin1(table);
        try {
            probe.open(QStringLiteral("select top 1 * from ") + name);
        } catch (const DbError &error) {
            if (error.message() == QStringLiteral("no such table: ") + name)
                throw DbError(DbConnection::notOurDatabaseMessage(connection.fileName()));
            throw;
        }
    }
}
