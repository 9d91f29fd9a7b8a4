// The two number texts every amount is held, shown and split in.
#include "data/NumberText.h"

#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void generalNumberText_data();
    void generalNumberText();
    void twoDecimalText_data();
    void twoDecimalText();
};

void NumberTextTest::generalNumberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // Shortest text, no trailing zeros or point.
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 2.0 << "2";
    QTest::newRow("hundred") << 100.0 << "100";
    QTest::newRow("one decimal") << 37.5 << "37.5";
    QTest::newRow("negative") << -12.5 << "-12.5";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("mixed") << 1234567.891 << "1234567.891";

    // Fifteen significant digits, rounded.
    QTest::newRow("one third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("two thirds") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("16 digits rounded") << 123456789012345.6 << "123456789012346";
    QTest::newRow("fraction cut at 15 digits") << 0.12345678901234567 << "0.123456789012346";
    QTest::newRow("99999999999999.99") << 99999999999999.99 << "100000000000000";

    // Fixed notation up to 15 integer digits, then scientific.
    QTest::newRow("15 nines") << 999999999999999.0 << "999999999999999";
    QTest::newRow("15 nines and .4") << 999999999999999.4 << "999999999999999";
    QTest::newRow("rounds up to 1E15") << 999999999999999.5 << "1E15";
    QTest::newRow("1E14") << 1e14 << "100000000000000";
    QTest::newRow("1E15") << 1e15 << "1E15";
    QTest::newRow("-1E15") << -1e15 << "-1E15";
    QTest::newRow("16 digits") << 1234567890123456.0 << "1.23456789012346E15";
    QTest::newRow("1.5E20") << 1.5e20 << "1.5E20";
    QTest::newRow("1E100") << 1e100 << "1E100";
    QTest::newRow("largest double") << DBL_MAX << "1.79769313486232E308";

    // Fixed notation down to 0.00001, then scientific.
    QTest::newRow("0.00001") << 0.00001 << "0.00001";
    QTest::newRow("-0.00001") << -0.00001 << "-0.00001";
    QTest::newRow("0.0000123") << 0.0000123 << "0.0000123";
    QTest::newRow("small, 15 digits") << 0.000012345678901234567 << "0.0000123456789012346";
    QTest::newRow("just below, rounds to 0.00001") << 0.0000099999999999999995 << "0.00001";
    QTest::newRow("1E-6") << 0.000001 << "1E-6";
    QTest::newRow("-1E-6") << -0.000001 << "-1E-6";
    QTest::newRow("1.5E-6") << 0.0000015 << "1.5E-6";
    QTest::newRow("1E-100") << 1e-100 << "1E-100";
    QTest::newRow("smallest subnormal")
        << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
}

void NumberTextTest::generalNumberText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(GeneralNumberText(value), expected);
}

void NumberTextTest::twoDecimalText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("negative zero") << -0.0 << "0.00";
    QTest::newRow("whole") << 5.0 << "5.00";
    QTest::newRow("one decimal") << 1234.5 << "1234.50";
    QTest::newRow("negative") << -123.45 << "-123.45";
    QTest::newRow("cut digits round") << 3.999 << "4.00";

    // Ties on the exact double value round away from zero.
    QTest::newRow("0.125 exact tie") << 0.125 << "0.13";
    QTest::newRow("-0.125 exact tie") << -0.125 << "-0.13";
    QTest::newRow("1.125 exact tie") << 1.125 << "1.13";
    QTest::newRow("123456789.125 exact tie") << 123456789.125 << "123456789.13";
    QTest::newRow("0.005 is a little above") << 0.005 << "0.01";
    QTest::newRow("-0.005 is a little below") << -0.005 << "-0.01";
    QTest::newRow("8.345 is a little above") << 8.345 << "8.35";

    // Written ties that the double holds a little below: no rounding up.
    QTest::newRow("1.005 is below") << 1.005 << "1.00";
    QTest::newRow("2.675 is below") << 2.675 << "2.67";
    QTest::newRow("0.015 is below") << 0.015 << "0.01";
    QTest::newRow("0.285 is below") << 0.285 << "0.28";
    QTest::newRow("9.995 is below") << 9.995 << "9.99";
    QTest::newRow("0.995 is below") << 0.995 << "0.99";

    // Carries through every digit.
    QTest::newRow("999.995 carries") << 999.995 << "1000.00";
    QTest::newRow("0.999 carries") << 0.999 << "1.00";
    QTest::newRow("-99.999 carries") << -99.999 << "-100.00";

    // A negative that rounds to zero carries no sign.
    QTest::newRow("-0.004") << -0.004 << "0.00";
    QTest::newRow("tiny") << 1e-300 << "0.00";

    // Large values keep fixed notation.
    QTest::newRow("1E15") << 1e15 << "1000000000000000.00";
    QTest::newRow("1E20") << 1e20 << "100000000000000000000.00";
    QTest::newRow("2^52 - 0.5") << 4503599627370495.5 << "4503599627370495.50";
}

void NumberTextTest::twoDecimalText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(TwoDecimalText(value), expected);
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "NumberTextTest.moc"
