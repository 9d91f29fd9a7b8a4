// Display formats of field values and the field references inside a memo's text.
#include "printing/report/DisplayFormat.h"
#include "printing/report/MemoText.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<MemoTextPart>)

class DisplayFormatTest : public QObject {
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void memoText_data();
    void memoText();
};

void DisplayFormatTest::formats_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString zh = QStringLiteral("zh_CN");
    auto row = [&](const char *name, const QVariant &value, const char *format, const QString &expected,
                   const QString &locale = QStringLiteral("zh_CN")) {
        QTest::newRow(name) << value << QString::fromUtf8(format) << locale << expected;
    };
    // Quantities: no trailing zeros.
    row("g 2.5", "2.5", "%g", "2.5");
    row("g 3", "3", "%g", "3");
    row("g stored 3.00", "3.00", "%g", "3");
    row("g negative", -0.5, "%g", "-0.5");
    row("g large", 1e21, "%g", "1E21");
    row("g small", 0.000001, "%g", "1E-6");
    row("g 3 significant", 2.71828, "%.3g", "2.72");
    // Unit prices: always two decimals, half away from zero.
    row("f 2", "2", "%2.2f", "2.00");
    row("f 12.5", "12.5", "%2.2f", "12.50");
    row("f half up", 0.125, "%2.2f", "0.13");
    row("f half up negative", -0.125, "%2.2f", "-0.13");
    row("f no separators", 1234567.891, "%2.2f", "1234567.89");
    row("f default precision", 1.5, "%f", "1.50");
    row("f rounds to zero without sign", -0.001, "%2.2f", "0.00");
    // Money: the locale's currency sign and thousands separators.
    row("m zh_CN", "1234.5", "%2.2m", "¥1,234.50");
    row("m zh_CN negative", -1234.5, "%2.2m", "-¥1,234.50");
    row("m zh_CN millions", 9876543.21, "%2.2m", "¥9,876,543.21");
    row("m zh_CN zero", 0, "%2.2m", "¥0.00");
    row("m en_US", 1234.5, "%2.2m", "$1,234.50", "en_US");
    row("m de_DE", 1234.5, "%2.2m", "1.234,50\u00a0€", "de_DE");
    row("n separators", 1234567.5, "%.1n", "1,234,567.5");
    // Integers, widths, literal text.
    row("d rounds", 2.5, "%d", "3");
    row("d least digits", 42, "%.5d", "00042");
    row("d width", 42, "%5d", "   42");
    row("d width left", 42, "%-5d|", "42   |");
    row("e", 1234.5, "%.3e", "1.23E+003");
    row("literal text around", "12.5", "单价%2.2f元", "单价12.50元");
    row("percent sign", 0.5, "%g%%", "0.5%");
    // Nulls print empty; what cannot be formatted prints as it stands; never printf.
    row("null", QVariant(), "%2.2f", "");
    row("null without format", QVariant(), "", "");
    row("empty text", "", "%2.2m", "");
    row("text value", "待定", "%2.2f", "待定");
    row("no format", "12.50", "", "12.50");
    row("unknown type", 1.5, "%s", "1.5");
    row("printf injection", 1.5, "%n%n%n%s", "1.5");
    row("two conversions", 1.5, "%d%d", "1.5");
    row("no conversion", 1.5, "元", "1.5");
    row("huge width", 1.5, "%999999999d", "1.5");
    row("huge precision", 1.5, "%.999f", "1.5");
    row("cut short", 1.5, "%2.", "1.5");
}

void DisplayFormatTest::formats() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(FormatDisplayValue(value, format, QLocale(locale)), expected);
}

void DisplayFormatTest::memoText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<MemoTextPart>>("parts");

    auto lit = [](const char *t) { return MemoTextPart{QString::fromUtf8(t), {}, {}}; };
    auto ref = [](const char *d, const char *f) {
        return MemoTextPart{{}, QString::fromUtf8(d), QString::fromUtf8(f)};
    };
    QTest::newRow("plain") << "收据" << QList<MemoTextPart>{lit("收据")};
    QTest::newRow("field") << "[frxDBDataset2.\"名称\"]" << QList<MemoTextPart>{ref("frxDBDataset2", "名称")};
    QTest::newRow("mixed") << "NO:[frxDBDataset1.\"单据编号\"] / [frxDBDataset1.\"年\"]年"
                           << QList<MemoTextPart>{lit("NO:"), ref("frxDBDataset1", "单据编号"), lit(" / "),
                                                  ref("frxDBDataset1", "年"), lit("年")};
    QTest::newRow("brackets that are no field")
        << "[备注] [a.b] [x.\"y]" << QList<MemoTextPart>{lit("[备注] [a.b] [x.\"y]")};
    QTest::newRow("empty") << "" << QList<MemoTextPart>{};
}

void DisplayFormatTest::memoText() {
    QFETCH(QString, text);
    QFETCH(QList<MemoTextPart>, parts);
    QCOMPARE(ParseMemoText(text), parts);
}

QTEST_GUILESS_MAIN(DisplayFormatTest)
#include "DisplayFormatTest.moc"
