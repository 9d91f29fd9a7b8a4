// Line amount, receipt total, capitals and digit columns.
#include "receipts/core/AmountRules.h"
#include "data/Globals.h"
#include "receipts/core/AmountConversionError.h"
#include "receipts/core/TextToNumber.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

Q_DECLARE_METATYPE(QList<ReceiptLineCells>)

class AmountRulesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void cellNumbers_data();
    void cellNumbers();
    void lineAmount_data();
    void lineAmount();
    void receiptTotal_data();
    void receiptTotal();
    void receiptTotalRefusesAmount_data();
    void receiptTotalRefusesAmount();
    void capitals_data();
    void capitals();
    void digitColumns_data();
    void digitColumns();
    void digitPlaceOutOfRange();
};

void AmountRulesTest::cleanup() {
    ResetGlobals();
}

// How a quantity, price or amount cell is read as a number.
void AmountRulesTest::cellNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << "5" << true << 5.0;
    QTest::newRow("decimal") << "5.25" << true << 5.25;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("plus sign") << "+5" << true << 5.0;
    QTest::newRow("minus sign") << "-5" << true << -5.0;
    QTest::newRow("signed leading point") << "-.5" << true << -0.5;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("surrounding blanks") << "  12.5 " << true << 12.5;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("signed exponent") << "1.5E-6" << true << 0.0000015;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("inner blank") << "1 5" << false << 0.0;
    QTest::newRow("tab") << "\t5" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("lone sign") << "-" << false << 0.0;
    QTest::newRow("two signs") << "--5" << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("formula") << "2*3" << false << 0.0;
    QTest::newRow("full-width digit") << "５" << false << 0.0;
    QTest::newRow("hex") << "0x10" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
}

void AmountRulesTest::cellNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const std::optional<double> number = TextToNumber(text);
    QCOMPARE(number.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*number, value);
}

void AmountRulesTest::lineAmount_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("expected"); // a null string: the amount stays as it is

    const QString product = QStringLiteral("数量*单价");
    QTest::newRow("3 x 12.5") << product << "3"
                              << "12.5"
                              << "37.5";
    QTest::newRow("not rounded to cents") << product << "3"
                                          << "1.333"
                                          << "3.999";
    QTest::newRow("3 x 0.1") << product << "3"
                             << "0.1"
                             << "0.3";
    QTest::newRow("blanks around") << product << " 2 "
                                   << " 3 "
                                   << "6";
    QTest::newRow("leading zeros") << product << "007"
                                   << "1"
                                   << "7";
    QTest::newRow("points at the edges") << product << ".5"
                                         << "4."
                                         << "2";
    QTest::newRow("negative quantity") << product << "-2"
                                       << "3"
                                       << "-6";
    QTest::newRow("negative price") << product << "2"
                                    << "-3"
                                    << "-6";
    QTest::newRow("both negative") << product << "-2"
                                   << "-3"
                                   << "6";
    QTest::newRow("plus on the quantity") << product << "+2"
                                          << "3"
                                          << "6";
    QTest::newRow("scientific amount") << product << "1000000"
                                       << "1000000000"
                                       << "1E15";

    // Cells that are not numbers count as 0; a formula typed into a cell is not a number.
    QTest::newRow("text quantity") << product << "abc"
                                   << "5"
                                   << "0";
    QTest::newRow("empty quantity") << product << ""
                                    << "5"
                                    << "0";
    QTest::newRow("empty price") << product << "5"
                                 << ""
                                 << "0";
    QTest::newRow("formula in a cell") << product << "1/0"
                                       << "5"
                                       << "0";
    QTest::newRow("bracket in a cell") << product << "(2"
                                       << "5"
                                       << "0";

    // Numbers the evaluator refuses leave the amount as it was.
    QTest::newRow("exponent in a cell") << product << "1e3"
                                        << "5" << QString();
    QTest::newRow("plus on the price") << product << "2"
                                       << "+3" << QString();
    QTest::newRow("result below 0.00001") << product << "0.001"
                                          << "0.001" << QString();
    QTest::newRow("no formula yet") << QString() << "2"
                                    << "3" << QString();

    // Every occurrence of each word is replaced.
    QTest::newRow("words used twice") << "数量*单价*数量"
                                      << "2"
                                      << "3"
                                      << "12";
    QTest::newRow("brackets around words") << "(数量+单价)*2"
                                           << "2"
                                           << "3"
                                           << "10";
}

void AmountRulesTest::lineAmount() {
    QFETCH(QString, formula);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, expected);
    AmountFormula = formula;
    const QString amount = LineAmount(quantity, price);
    QCOMPARE(amount.isNull(), expected.isNull());
    QCOMPARE(amount, expected);
}

void AmountRulesTest::receiptTotal_data() {
    QTest::addColumn<QList<ReceiptLineCells>>("lines");
    QTest::addColumn<QString>("expected"); // the general number text of the total

    QTest::newRow("empty grid") << QList<ReceiptLineCells>{{}, {}, {}, {}} << "0";
    QTest::newRow("no rows") << QList<ReceiptLineCells>{} << "0";
    QTest::newRow("coded lines") << QList<ReceiptLineCells>{{"SP001", "37.5"}, {"SP002", "100"}, {}, {}}
                                 << "137.5";
    QTest::newRow("lines with gaps") << QList<ReceiptLineCells>{{}, {"SP001", "1.5"}, {}, {"SP002", "2"}}
                                     << "3.5";
    QTest::newRow("more than two decimals") << QList<ReceiptLineCells>{{"SP001", "3.999"}} << "3.999";
    QTest::newRow("0.1 + 0.2") << QList<ReceiptLineCells>{{"A", "0.1"}, {"B", "0.2"}} << "0.3";
    QTest::newRow("negative total") << QList<ReceiptLineCells>{{"A", "5"}, {"B", "-10"}} << "-5";
    QTest::newRow("blanks and exponent read as numbers")
        << QList<ReceiptLineCells>{{"A", " 5 "}, {"B", "1E15"}} << "1E15";
    QTest::newRow("100 million") << QList<ReceiptLineCells>{{"A", "100000000"}, {"B", "23456789"}}
                                 << "123456789";

    // A line counts only with a code and an amount; what an uncoded row holds never matters.
    QTest::newRow("uncoded row ignored") << QList<ReceiptLineCells>{{"", "50"}, {"A", "2"}} << "2";
    QTest::newRow("uncoded text amount ignored") << QList<ReceiptLineCells>{{"", "abc"}, {"A", "2"}} << "2";
    QTest::newRow("coded row without amount") << QList<ReceiptLineCells>{{"A", ""}, {"B", "2"}} << "2";
}

void AmountRulesTest::receiptTotal() {
    QFETCH(QList<ReceiptLineCells>, lines);
    QFETCH(QString, expected);
    QCOMPARE(GeneralNumberText(ReceiptTotal(lines)), expected);
}

void AmountRulesTest::receiptTotalRefusesAmount_data() {
    QTest::addColumn<QList<ReceiptLineCells>>("lines");
    QTest::addColumn<QString>("message");

    QTest::newRow("text amount") << QList<ReceiptLineCells>{{"A", "1"}, {}, {"B", "abc"}}
                                 << "第3行的金额“abc”不是有效的数字！";
    QTest::newRow("blank amount") << QList<ReceiptLineCells>{{"A", " "}} << "第1行的金额“ ”不是有效的数字！";
    QTest::newRow("formula amount") << QList<ReceiptLineCells>{{"A", "2*3"}}
                                    << "第1行的金额“2*3”不是有效的数字！";
    QTest::newRow("sum overflows") << QList<ReceiptLineCells>{{"A", "1E308"}, {"B", "1E308"}}
                                   << "合计金额超出范围，无法计算！";
}

void AmountRulesTest::receiptTotalRefusesAmount() {
    QFETCH(QList<ReceiptLineCells>, lines);
    QFETCH(QString, message);
    try {
        ReceiptTotal(lines);
        QFAIL("no error raised");
    } catch (const AmountConversionError &error) {
        QCOMPARE(error.message(), message);
        QCOMPARE(QString::fromStdString(error.what()), message);
    }
}

void AmountRulesTest::capitals_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << 0.0 << "零圆整";
    QTest::newRow("12.5") << 12.5 << "壹拾贰圆伍角";
    QTest::newRow("10.05") << 10.05 << "壹拾圆零伍分";
    QTest::newRow("0.05") << 0.05 << "伍分";
    QTest::newRow("0.5") << 0.5 << "伍角";
    QTest::newRow("0.55") << 0.55 << "伍角伍分";
    QTest::newRow("1.05") << 1.05 << "壹圆零伍分";
    QTest::newRow("100.5") << 100.5 << "壹佰圆伍角";
    QTest::newRow("1050") << 1050.0 << "壹仟零伍拾圆整";
    QTest::newRow("100500") << 100500.0 << "壹拾万零伍佰圆整";
    QTest::newRow("1234.56") << 1234.56 << "壹仟贰佰叁拾肆圆伍角陆分";
    QTest::newRow("-12.5") << -12.5 << "负壹拾贰圆伍角";
    QTest::newRow("-0.05") << -0.05 << "负伍分";
    QTest::newRow("123456789") << 123456789.0 << "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖圆整";

    // One 零 for any run of zeros inside; a zero at 圆 or 万 writes only the unit.
    QTest::newRow("108") << 108.0 << "壹佰零捌圆整";
    QTest::newRow("1001") << 1001.0 << "壹仟零壹圆整";
    QTest::newRow("10005") << 10005.0 << "壹万零伍圆整";
    QTest::newRow("101000") << 101000.0 << "壹拾万壹仟圆整";
    QTest::newRow("1000100") << 1000100.0 << "壹佰万零壹佰圆整";
    QTest::newRow("10000") << 10000.0 << "壹万圆整";
    QTest::newRow("10000001") << 10000001.0 << "壹仟万零壹圆整";

    // A group of four zeros under a higher group writes no unit.
    QTest::newRow("100000000") << 100000000.0 << "壹亿圆整";
    QTest::newRow("100000005") << 100000005.0 << "壹亿零伍圆整";
    QTest::newRow("100010000") << 100010000.0 << "壹亿零壹万圆整";
    QTest::newRow("100001000") << 100001000.0 << "壹亿零壹仟圆整";
    QTest::newRow("120000000.5") << 120000000.5 << "壹亿贰仟万圆伍角";
    QTest::newRow("100000000.01") << 100000000.01 << "壹亿圆零壹分";
    QTest::newRow("1000010000") << 1000010000.0 << "壹拾亿零壹万圆整";
    QTest::newRow("1E12") << 1e12 << "壹万亿圆整";
    QTest::newRow("1000000000001") << 1000000000001.0 << "壹万亿零壹圆整";
    QTest::newRow("100000000000000") << 100000000000000.0 << "壹佰万亿圆整";
    QTest::newRow("15 nines") << 999999999999999.0
                              << "玖佰玖拾玖万亿玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆整";

    // Decimals beyond the 分 are cut, not rounded.
    QTest::newRow("3.999") << 3.999 << "叁圆玖角玖分";
    QTest::newRow("0.001") << 0.001 << "零圆整";
    QTest::newRow("0.00001") << 0.00001 << "零圆整";
    // A value that writes as zero carries no sign.
    QTest::newRow("-0.001") << -0.001 << "零圆整";

    // Scientific notation and non-numbers cannot be written.
    QTest::newRow("1E15") << 1e15 << "";
    QTest::newRow("-1E15") << -1e15 << "";
    QTest::newRow("1E-6") << 0.000001 << "";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "";
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "";
}

void AmountRulesTest::capitals() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(AmountToCapitals(value), expected);
}

void AmountRulesTest::digitColumns_data() {
    QTest::addColumn<double>("value");
    // Places 9 down to 0: qw1, bw1, sw1, w1, q1, b1, s1, y1, j1, f1.
    QTest::addColumn<QStringList>("expected");

    auto row = [](const char *name, double value, const QStringList &columns) {
        QTest::newRow(name) << value << columns;
    };
    row("0", 0, {"", "", "", "", "", "", "", "0", "0", "0"});
    row("12.5", 12.5, {"", "", "", "", "", "", "1", "2", "5", "0"});
    row("10.05", 10.05, {"", "", "", "", "", "", "1", "0", "0", "5"});
    row("0.05", 0.05, {"", "", "", "", "", "", "", "0", "0", "5"});
    row("1050", 1050, {"", "", "", "", "1", "0", "5", "0", "0", "0"});
    row("100500", 100500, {"", "", "1", "0", "0", "5", "0", "0", "0", "0"});
    row("1234.56", 1234.56, {"", "", "", "", "1", "2", "3", "4", "5", "6"});
    row("-12.5", -12.5, {"", "", "", "", "", "-", "1", "2", "5", "0"});
    row("-5", -5, {"", "", "", "", "", "", "-", "5", "0", "0"});
    row("123456789", 123456789, {"12", "3", "4", "5", "6", "7", "8", "9", "0", "0"});
    row("12345678", 12345678, {"1", "2", "3", "4", "5", "6", "7", "8", "0", "0"});
    row("1234567", 1234567, {"", "1", "2", "3", "4", "5", "6", "7", "0", "0"});
    row("12345678901.23", 12345678901.23, {"1234", "5", "6", "7", "8", "9", "0", "1", "2", "3"});

    // Rounded to two decimals, half away from zero, unlike the capitals.
    row("3.999", 3.999, {"", "", "", "", "", "", "", "4", "0", "0"});
    row("0.125", 0.125, {"", "", "", "", "", "", "", "0", "1", "3"});
    row("999.995 carries", 999.995, {"", "", "", "", "1", "0", "0", "0", "0", "0"});

    // A minus sign fills the box above the highest digit, up to the 千万 box.
    row("-1234567", -1234567, {"-", "1", "2", "3", "4", "5", "6", "7", "0", "0"});
    row("-12345678", -12345678, {"-1", "2", "3", "4", "5", "6", "7", "8", "0", "0"});
    row("-123456789", -123456789, {"-12", "3", "4", "5", "6", "7", "8", "9", "0", "0"});
    row("-0.125", -0.125, {"", "", "", "", "", "", "-", "0", "1", "3"});
    row("-0.001 rounds to zero", -0.001, {"", "", "", "", "", "", "", "0", "0", "0"});

    // Nothing to place for a value that is not a number.
    row("infinity", std::numeric_limits<double>::infinity(), {"", "", "", "", "", "", "", "", "", ""});
    row("nan", std::numeric_limits<double>::quiet_NaN(), {"", "", "", "", "", "", "", "", "", ""});
}

void AmountRulesTest::digitColumns() {
    QFETCH(double, value);
    QFETCH(QStringList, expected);
    QStringList columns;
    for (int place = 9; place >= 0; --place)
        columns << AmountDigit(place, value);
    QCOMPARE(columns, expected);
}

void AmountRulesTest::digitPlaceOutOfRange() {
    QCOMPARE(AmountDigit(-1, 123456789.12), QString());
    QCOMPARE(AmountDigit(10, 123456789.12), QString());
}

QTEST_GUILESS_MAIN(AmountRulesTest)
#include "AmountRulesTest.moc"
