// Numbering rules: receipt numbers and the codes of goods, paying parties and staff.
#include "TestAppDir.h"

#include "data/BillNumbering.h"
#include "data/Clock.h"
#include "data/DbError.h"
#include "data/DbTransaction.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"

#include <QTest>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

// Stores a code in the table of a rule, the way the forms that use the rule would.
void storeCode(int rule, const QString &code) {
    static int key = 100;
    ++key;
    const QString quoted = QString(code).replace(u'\'', QStringLiteral("''"));
    switch (rule) {
    case 1:
        TestAppDir::exec(QStringLiteral("insert into aa_goods(goodsid,tablecode,name)values(%1,'%2','品')")
                             .arg(key)
                             .arg(quoted));
        break;
    case 2:
        TestAppDir::exec(
            QStringLiteral("insert into aa_company(companyid,tablecode,name)values(%1,'%2','单位')")
                .arg(key)
                .arg(quoted));
        break;
    case 3:
        TestAppDir::exec(QStringLiteral("insert into aa_staff(staffid,tablecode,name)values(%1,'%2','员工')")
                             .arg(key)
                             .arg(quoted));
        break;
    default:
        TestAppDir::exec(
            QStringLiteral("insert into ss_sale(saleid,billcode)values(%1,'%2')").arg(key).arg(quoted));
        break;
    }
}

// Stores many codes in one transaction (a commit per row would make the set-up slow).
void storeCodes(int rule, const QStringList &codes) {
    DbTransaction transaction(ShareDM1->ShareConn);
    for (const QString &code : codes)
        storeCode(rule, code);
    transaction.commit();
}

QStringList serials(const QString &prefix, int from, int to, int width) {
    QStringList codes;
    for (int i = from; i <= to; ++i)
        codes.append(prefix + QString::number(i).rightJustified(width, u'0'));
    return codes;
}

void setToday(const QDate &date) {
    Clock::setFixed(QDateTime(date, QTime(9, 30)));
}

} // namespace

class BillNumberingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nextNumber_data();
    void nextNumber();
    void receiptNumbersAcrossAMonth_data();
    void receiptNumbersAcrossAMonth();
    void serialsBeyondTheWidthKeepCounting_data();
    void serialsBeyondTheWidthKeepCounting();
    void numberingContinuesAfterAHandTypedReceipt();
    void costDoesNotGrowWithTheTable_data();
    void costDoesNotGrowWithTheTable();
    void missingRuleRaises();

private:
    std::unique_ptr<TestAppDir> m_app;
};

void BillNumberingTest::init() {
    m_app = std::make_unique<TestAppDir>();
    UpgradeSchema(); // creates the four seeded rules
    setToday(QDate(2014, 2, 20));
}

void BillNumberingTest::cleanup() {
    m_app.reset();
}

void BillNumberingTest::nextNumber_data() {
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("ruleChange"); // assignments for xt_billconfig, empty = as seeded
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("expected");

    const QString sj = "billmark='SJ',codetype='年月日',separator='-',startno='0001',dateseparator=";
    const QString sk = "billmark='SK',separator='-',startno='0001',dateseparator=";

    // The worked examples of the numbering rules (today is 20 February 2014).
    QTest::newRow("paying parties, none stored") << 2 << "" << QStringList() << "DW-00001";
    QTest::newRow("paying parties, 1 to 12 stored") << 2 << "" << serials("DW-", 1, 12, 5) << "DW-00013";
    QTest::newRow("receipts, none stored") << 4 << "" << QStringList() << "0000001";
    QTest::newRow("receipts, 1 to 9 stored") << 4 << "" << serials("", 1, 9, 7) << "0000010";
    QTest::newRow("date with separators, none today")
        << 4 << sj + "true" << QStringList{"SJ-2014-02-19-0007"} << "SJ-2014-02-20-0001";
    QTest::newRow("date without separators, 4 today")
        << 4 << sj + "false" << serials("SJ-20140220-", 1, 4, 4) << "SJ-20140220-0005";
    // The administrator seeded with the database is staff 001.
    QTest::newRow("staff, 1 to 999 stored") << 3 << "" << serials("", 2, 999, 3) << "1000";

    // The other date layouts.
    QTest::newRow("year") << 4 << sk + "true,codetype='年'" << QStringList() << "SK-2014-0001";
    QTest::newRow("month year, date separated")
        << 4 << sk + "true,codetype='月年'" << QStringList() << "SK-02-2014-0001";
    QTest::newRow("month day year") << 4 << sk + "false,codetype='月日年'" << QStringList{"SK-02202014-0041"}
                                    << "SK-02202014-0042";
    QTest::newRow("year month, date separated, no letters")
        << 4 << "billmark='',codetype='年月',separator='/',startno='001',dateseparator=true" << QStringList()
        << "/2014/02/001";

    // startno gives the width only; the first serial is always 1.
    QTest::newRow("startno 00005 starts at 1") << 2 << "startno='00005'" << QStringList() << "DW-00001";
    // A code typed by hand with fewer digits is padded before it is read.
    QTest::newRow("hand-typed 7 counts as 7") << 1 << "" << QStringList{"7"} << "00008";
    QTest::newRow("serial 0 is followed by 1") << 1 << "" << QStringList{"00000"} << "00001";
    // notype yes counts only codes that hold today's prefix.
    QTest::newRow("other prefixes do not count")
        << 2 << "" << QStringList{"DW-00004", "XX-00077", "DW00099"} << "DW-00005";

    // A prefix is matched as it stands: a quote does not break the statement, and the like
    // wildcards _ and % match only themselves.
    QTest::newRow("letters with a quote")
        << 2 << "billmark='O''K'" << QStringList{"O'K-00003"} << "O'K-00004";
    QTest::newRow("letters with an underscore")
        << 2 << "billmark='A_'" << QStringList{"AB-00007", "A_-00002"} << "A_-00003";
    QTest::newRow("letters with a percent sign")
        << 2 << "billmark='%'" << QStringList{"X-00009", "%-00004"} << "%-00005";

    // A stored serial wider than startno only counts when it is a serial of this rule.
    QTest::newRow("wide serial of an earlier prefix shape does not count")
        << 4 << "billmark='S',codetype='年月',separator='',startno='0001',notype=false"
        << QStringList{"S2014010005", "SJ2014010005"} << "S2014020006";

    // Codes the rule could not have made (typed by hand in the number box) never stop the
    // numbering: they are skipped, and the rule's own serials go on.
    const QStringList three = serials("", 1, 3, 7);
    QTest::newRow("quote, dash and percent") << 4 << "" << three + QStringList{"NO'7-%"} << "0000004";
    QTest::newRow("a letter after the digits") << 4 << "" << three + QStringList{"0000002补"} << "0000004";
    QTest::newRow("a year and a letter") << 4 << "" << three + QStringList{"2024-A"} << "0000004";
    QTest::newRow("several kinds above the serials")
        << 4 << "" << three + QStringList{"9-1", "9 A", "9A", "99补", "2024-A", "2024-B", "0000003x"}
        << "0000004";
    QTest::newRow("only hand-typed codes") << 4 << "" << QStringList{"2024-A", "NO'7-%"} << "0000001";
    QTest::newRow("a letter inside the width")
        << 2 << "" << QStringList{"DW-00001", "DW-0002A", "DW-9999Z"} << "DW-00002";
    QTest::newRow("wider with a leading zero")
        << 4 << "" << serials("", 1, 5, 7) + QStringList{"00000123"} << "0000006";
    QTest::newRow("more digits than any serial")
        << 4 << "" << three + QStringList{"12345678901234567890"} << "0000004";
    // A narrow number typed by hand sorts above the rule's serials but counts by its value.
    QTest::newRow("narrow hand-typed number above the serials")
        << 4 << "" << serials("", 1, 12, 7) + QStringList{"7"} << "0000013";
    QTest::newRow("hand-typed codes under a dated prefix, notype no")
        << 4 << "billmark='SK',codetype='年月',separator='-',startno='0001',notype=false"
        << QStringList{"SK-201401-0007", "SK-2014-A", "SK-201401-00A1", "SK-2014019-0008", "SK-X"}
        << "SK-201402-0008";
}

void BillNumberingTest::nextNumber() {
    QFETCH(int, rule);
    QFETCH(QString, ruleChange);
    QFETCH(QStringList, stored);
    QFETCH(QString, expected);

    if (!ruleChange.isEmpty())
        TestAppDir::exec("update xt_billconfig set " + ruleChange +
                         " where billconfigid=" + QString::number(rule));
    storeCodes(rule, stored);

    QCOMPARE(MakeBillCode(rule), expected);
    // Nothing is reserved: asking again gives the same number.
    QCOMPARE(MakeBillCode(rule), expected);
}

void BillNumberingTest::receiptNumbersAcrossAMonth_data() {
    QTest::addColumn<bool>("noType");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("notype yes: a new month starts again at 1")
        << true << QStringList{"SK-201401-0001", "SK-201401-0002", "SK-201402-0001", "SK-201402-0002"};
    QTest::newRow("notype no: the serial runs on")
        << false << QStringList{"SK-201401-0001", "SK-201401-0002", "SK-201402-0003", "SK-201402-0004"};
}

void BillNumberingTest::receiptNumbersAcrossAMonth() {
    QFETCH(bool, noType);
    QFETCH(QStringList, expected);

    TestAppDir::exec(QStringLiteral("update xt_billconfig set billmark='SK',codetype='年月',separator='-',"
                                    "startno='0001',notype=%1 where billconfigid=4")
                         .arg(noType ? "true" : "false"));
    const QList<QDate> days = {QDate(2014, 1, 30), QDate(2014, 1, 31), QDate(2014, 2, 1), QDate(2014, 2, 1)};
    QStringList numbers;
    for (const QDate &day : days) {
        setToday(day);
        numbers.append(MakeBillCode(4));
        storeCode(4, numbers.last());
    }
    QCOMPARE(numbers, expected);
}

// Once a serial has outgrown the width of startno, the textual maximum no longer finds it
// ("1000" sorts below "999"); the next number must still be one higher than the highest.
void BillNumberingTest::serialsBeyondTheWidthKeepCounting_data() {
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("ruleChange");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected"); // each number is stored before the next is asked for

    QTest::newRow("no prefix") << 3 << "" << serials("", 2, 998, 3)
                               << QStringList{"999", "1000", "1001", "1002"};
    QTest::newRow("prefix, notype yes")
        << 2 << "startno='001'" << serials("DW-", 1, 998, 3) << QStringList{"DW-999", "DW-1000", "DW-1001"};
    QTest::newRow("dated prefix, notype no")
        << 4 << "billmark='SK',codetype='年月',separator='-',startno='0001',notype=false"
        << QStringList{"SK-201401-9999", "SK-201401-10000"}
        << QStringList{"SK-201402-10001", "SK-201402-10002"};
    // The widest serial is also the textual maximum: all of it counts, not its last digits.
    QTest::newRow("wide serial is the textual maximum")
        << 3 << "" << QStringList{"002", "99999"} << QStringList{"100000"};
}

void BillNumberingTest::serialsBeyondTheWidthKeepCounting() {
    QFETCH(int, rule);
    QFETCH(QString, ruleChange);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);

    if (!ruleChange.isEmpty())
        TestAppDir::exec("update xt_billconfig set " + ruleChange +
                         " where billconfigid=" + QString::number(rule));
    storeCodes(rule, stored);
    QStringList numbers;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        numbers.append(MakeBillCode(rule));
        storeCode(rule, numbers.last());
    }
    QCOMPARE(numbers, expected);
}

// The receipt saved under a hand-typed number is followed by the rule's numbers again.
void BillNumberingTest::numberingContinuesAfterAHandTypedReceipt() {
    QStringList numbers;
    for (const QString &typed : {QString(), QStringLiteral("NO'7-%"), QString(), QString()}) {
        const QString number = typed.isEmpty() ? MakeBillCode(4) : typed;
        storeCode(4, number);
        numbers.append(number);
    }
    QCOMPARE(numbers, (QStringList{"0000001", "NO'7-%", "0000002", "0000003"}));
}

namespace {

int countSteps(void *steps) {
    ++*static_cast<qint64 *>(steps);
    return 0;
}

// The engine's work for one next number, in units of 100 virtual machine instructions.
qint64 engineSteps(int rule) {
    qint64 steps = 0;
    sqlite3_progress_handler(ShareDM1->ShareConn.handle(), 100, countSteps, &steps);
    MakeBillCode(rule);
    sqlite3_progress_handler(ShareDM1->ShareConn.handle(), 0, nullptr, nullptr);
    return steps;
}

} // namespace

// The next number is found through the index of the code column: ten times the receipts
// cost no more than a few instructions more.
void BillNumberingTest::costDoesNotGrowWithTheTable_data() {
    QTest::addColumn<QString>("ruleChange");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("expectedPrefix");

    QTest::newRow("as seeded") << ""
                               << ""
                               << "";
    QTest::newRow("letters, notype yes") << "billmark='NO',separator='-'"
                                         << "NO-"
                                         << "NO-";
    QTest::newRow("dated prefix, notype no") << "billmark='SK',codetype='年月',separator='-',notype=false"
                                             << "SK-201402-"
                                             << "SK-201402-";
}

void BillNumberingTest::costDoesNotGrowWithTheTable() {
    QFETCH(QString, ruleChange);
    QFETCH(QString, prefix);
    QFETCH(QString, expectedPrefix);

    if (!ruleChange.isEmpty())
        TestAppDir::exec("update xt_billconfig set " + ruleChange + " where billconfigid=4");
    storeCodes(4, serials(prefix, 1, 1000, 7) + QStringList{"2024-A", prefix + "0000002补"});
    QCOMPARE(MakeBillCode(4), expectedPrefix + "0001001");
    const qint64 small = engineSteps(4);

    storeCodes(4, serials(prefix, 1001, 10000, 7));
    QCOMPARE(MakeBillCode(4), expectedPrefix + "0010001");
    const qint64 large = engineSteps(4);
    QVERIFY2(large <= small + 10, qPrintable(QStringLiteral("%1 against %2").arg(large).arg(small)));
}

void BillNumberingTest::missingRuleRaises() {
    QVERIFY_THROWS_EXCEPTION(DbError, MakeBillCode(5));
    TestAppDir::exec("update xt_billconfig set tablename='no_such_table' where billconfigid=2");
    QVERIFY_THROWS_EXCEPTION(DbError, MakeBillCode(2));
}

QTEST_GUILESS_MAIN(BillNumberingTest)
#include "BillNumberingTest.moc"
