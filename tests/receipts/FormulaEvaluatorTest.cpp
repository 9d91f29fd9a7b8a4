// The line-amount formula evaluator: results, every error message, and random input.
#include "receipts/core/FormulaEvaluator.h"
#include "receipts/core/TextToNumber.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

namespace {

const QString EmptyFormula = QStringLiteral("公式错误，公式为空！");
const QString IllegalCharacter = QStringLiteral("公式错误，公式含有非法运算符！");
const QString UnpairedBracket = QStringLiteral("公式错误，没有配对的”)“！");
const QString MulDivAtEdge = QStringLiteral("公式错误，首或尾字符是*/运算符！");
const QString MulDivOperandEndsText = QStringLiteral("公式错误，尾字符是”+-*/”运算符！");
const QString ZeroDivisor = QStringLiteral("公式错误，除数为零，无意义！");
const QString AddSubAtEnd = QStringLiteral("公式错误，尾字符是“+-”运算符！");
const QString AddSubOperandEndsText = QStringLiteral("公式错误，尾字符是+-运算符！");
const QString GeneralError = QStringLiteral("公式错误！");

const QStringList AllMessages = {EmptyFormula, IllegalCharacter,      UnpairedBracket,
                                 MulDivAtEdge, MulDivOperandEndsText, ZeroDivisor,
                                 AddSubAtEnd,  AddSubOperandEndsText, GeneralError};

} // namespace

class FormulaEvaluatorTest : public QObject {
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void errors_data();
    void errors();
    void randomFormulas();
};

void FormulaEvaluatorTest::values_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");

    // Products and quotients with signs.
    QTest::newRow("3*12.5") << "3*12.5"
                            << "37.5";
    QTest::newRow("-3*12.5") << "-3*12.5"
                             << "-37.5";
    QTest::newRow("3*-12.5") << "3*-12.5"
                             << "-37.5";
    QTest::newRow("-3*-12.5") << "-3*-12.5"
                              << "37.5";
    QTest::newRow("3*--2") << "3*--2"
                           << "6";
    QTest::newRow("2*-3*4") << "2*-3*4"
                            << "-24";
    QTest::newRow("8/4*2") << "8/4*2"
                           << "4";
    QTest::newRow("0*-5 gives 0, not -0") << "0*-5"
                                          << "0";
    QTest::newRow("operands .5 and 5.") << ".5*5."
                                        << "2.5";

    // Precedence, sums and differences.
    QTest::newRow("1+2*3") << "1+2*3"
                           << "7";
    QTest::newRow("8-4-2") << "8-4-2"
                           << "2";
    QTest::newRow("1--2+3") << "1--2+3"
                            << "6";
    QTest::newRow("1---2") << "1---2"
                           << "-1";
    QTest::newRow("1+2*-3") << "1+2*-3"
                            << "-5";
    QTest::newRow("1-2*-3") << "1-2*-3"
                            << "7";
    QTest::newRow("1-5+2") << "1-5+2"
                           << "-2";

    // Brackets of all three kinds, innermost first; kinds need not match.
    QTest::newRow("(1+2)*3") << "(1+2)*3"
                             << "9";
    QTest::newRow("[1+2]*{3-1}") << "[1+2]*{3-1}"
                                 << "6";
    QTest::newRow("2*(0-3)") << "2*(0-3)"
                             << "-6";
    QTest::newRow("[1+2)") << "[1+2)"
                           << "3";
    QTest::newRow("nested") << "{2*[1+(3-1)]}-1"
                            << "5";
    QTest::newRow("((2))") << "((2))"
                           << "2";

    // A lone number: a sign makes it general number text, otherwise it stands as written.
    QTest::newRow("007") << "007"
                         << "007";
    QTest::newRow("5.") << "5."
                        << "5.";
    QTest::newRow("-5") << "-5"
                        << "-5";
    QTest::newRow("+5") << "+5"
                        << "5";
    QTest::newRow("-05.50") << "-05.50"
                            << "-5.5";

    // Every intermediate result is cut to 15 significant digits.
    QTest::newRow("1/3*3") << "1/3*3"
                           << "0.999999999999999";
    QTest::newRow("1/3+1/3+1/3") << "1/3+1/3+1/3"
                                 << "0.999999999999999";
    QTest::newRow("0.1+0.2") << "0.1+0.2"
                             << "0.3";
    QTest::newRow("18 digits+0") << "123456789012345678+0"
                                 << "1.23456789012346E17";
    QTest::newRow("999999999999999+1") << "999999999999999+1"
                                       << "1E15";

    // Large results, scientific notation read back by the next step.
    QTest::newRow("100000*100000") << "100000*100000"
                                   << "10000000000";
    QTest::newRow("1E15") << "1000000*1000000000"
                          << "1E15";
    QTest::newRow("-1E15") << "-1000000*1000000000"
                           << "-1E15";
    QTest::newRow("1E15*2") << "1000000*1000000000*2"
                            << "2E15";
    QTest::newRow("1E15+1") << "1000000*1000000000+1"
                            << "1E15";

    // Blanks are ignored wherever they stand.
    QTest::newRow("blanks") << "  3 *  12.5 "
                            << "37.5";
    QTest::newRow("blanks in a number") << "1 2*1 0"
                                        << "120";
}

void FormulaEvaluatorTest::values() {
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(EvalFormula(formula), expected);
}

void FormulaEvaluatorTest::errors_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << "" << EmptyFormula;
    QTest::newRow("blanks only") << "   " << EmptyFormula;

    QTest::newRow("exponent") << "1e3*2" << IllegalCharacter;
    QTest::newRow("capital E") << "1E3" << IllegalCharacter;
    QTest::newRow("comma") << "1,5*2" << IllegalCharacter;
    QTest::newRow("letter") << "a" << IllegalCharacter;
    QTest::newRow("tab") << "1\t+2" << IllegalCharacter;
    QTest::newRow("full-width bracket") << "（1+2）" << IllegalCharacter;
    QTest::newRow("illegal before unpaired") << "(5x" << IllegalCharacter;

    QTest::newRow("(5") << "(5" << UnpairedBracket;
    QTest::newRow("1-(2") << "1-(2" << UnpairedBracket;
    QTest::newRow(")(") << ")(" << UnpairedBracket;
    QTest::newRow("{1+2") << "{1+2" << UnpairedBracket;

    QTest::newRow("5*") << "5*" << MulDivAtEdge;
    QTest::newRow("*5") << "*5" << MulDivAtEdge;
    QTest::newRow("/") << "/" << MulDivAtEdge;
    QTest::newRow("1+2/") << "1+2/" << MulDivAtEdge;

    QTest::newRow("5*3/") << "5*3/" << MulDivOperandEndsText;
    QTest::newRow("5*3-") << "5*3-" << MulDivOperandEndsText;
    QTest::newRow("5*-") << "5*-" << MulDivOperandEndsText;

    QTest::newRow("5/0") << "5/0" << ZeroDivisor;
    QTest::newRow("0/0") << "0/0" << ZeroDivisor;
    QTest::newRow("5/-0") << "5/-0" << ZeroDivisor;
    QTest::newRow("5/0 after a sum") << "1+5/0" << ZeroDivisor;

    QTest::newRow("5+") << "5+" << AddSubAtEnd;
    QTest::newRow("5-") << "5-" << AddSubAtEnd;

    QTest::newRow("5+3-") << "5+3-" << AddSubOperandEndsText;
    QTest::newRow("1+-") << "1+-" << AddSubOperandEndsText;

    QTest::newRow("5**3") << "5**3" << GeneralError;
    QTest::newRow("2++3") << "2++3" << GeneralError;
    QTest::newRow("3*+5") << "3*+5" << GeneralError;
    QTest::newRow("--5") << "--5" << GeneralError;
    QTest::newRow("-(0-3)") << "-(0-3)" << GeneralError;
    QTest::newRow("lone sign") << "-" << GeneralError;
    QTest::newRow("lone point") << "." << GeneralError;
    QTest::newRow("two points") << "1.2.3" << GeneralError;
    QTest::newRow("1.2.3+1") << "1.2.3+1" << GeneralError;
    QTest::newRow("divisor 0.0") << "5/0.0" << GeneralError;
    QTest::newRow("divisor 00") << "5/00" << GeneralError;
    QTest::newRow("divisor -0.0") << "5/-0.0" << GeneralError;
    QTest::newRow("1E-6 breaks the sum step") << "0.001*0.001" << GeneralError;
    QTest::newRow("1E-6 then more") << "0.001*0.001+1" << GeneralError;
    QTest::newRow("overflow") << "1" + QString(308, u'0') + "*10" << GeneralError;
    QTest::newRow("operand too large") << QString(400, u'9') + "+1" << GeneralError;

    // A stray closing bracket is never a number.
    QTest::newRow("5)") << "5)" << GeneralError;
    QTest::newRow("5)*2") << "5)*2" << GeneralError;
    QTest::newRow("(1))") << "(1))" << GeneralError;

    // A bracket in error gives its own message for the whole formula.
    QTest::newRow("(5/0)") << "(5/0)" << ZeroDivisor;
    QTest::newRow("()") << "()" << EmptyFormula;
    QTest::newRow("(5/0)+1") << "(5/0)+1" << ZeroDivisor;
    QTest::newRow("2*(5*)") << "2*(5*)" << MulDivAtEdge;
    QTest::newRow("1-(5+)") << "1-(5+)" << AddSubAtEnd;
}

void FormulaEvaluatorTest::errors() {
    QFETCH(QString, formula);
    QFETCH(QString, expected);
    QCOMPARE(EvalFormula(formula), expected);
}

// Random formulas of the allowed characters, blanks and a few strays: every result is a number
// or one of the messages, and nothing throws.
void FormulaEvaluatorTest::randomFormulas() {
    const QString alphabet = QStringLiteral("0123456789012345678901234567890123456789"
                                            "..+-*/+-*/+-*/()[]{}    aE,%中\t");
    QRandomGenerator random(20140220);
    QSet<QString> messagesSeen;
    int numbers = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100000; ++i) {
        QString formula;
        const int length = random.bounded(13);
        for (int k = 0; k < length; ++k) {
            // Strays are rarer than the rest, so that most formulas reach the arithmetic.
            const int limit = random.bounded(20) == 0 ? alphabet.size() : alphabet.size() - 6;
            formula += alphabet[random.bounded(limit)];
        }
        QString result;
        try {
            result = EvalFormula(formula);
        } catch (...) {
            QFAIL(qPrintable("exception for " + formula));
        }
        if (TextToNumber(result)) {
            ++numbers;
        } else {
            if (!AllMessages.contains(result))
                QFAIL(qPrintable("formula \"" + formula + "\" gave \"" + result + "\""));
            messagesSeen.insert(result);
        }
    }
    qInfo("100000 formulas in %lld ms, %d numbers", static_cast<long long>(timer.elapsed()), numbers);
    // The generator reaches the values and every kind of failure.
    QVERIFY(numbers > 1000);
    QCOMPARE(messagesSeen.size(), AllMessages.size());
}

QTEST_GUILESS_MAIN(FormulaEvaluatorTest)
#include "FormulaEvaluatorTest.moc"
