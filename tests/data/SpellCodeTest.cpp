// Spell codes: the mnemonic codes users type to find goods, paying parties and staff.
#include "data/SpellCode.h"

#include <QTest>

class SpellCodeTest : public QObject {
    Q_OBJECT

private slots:
    void spellCode_data();
    void spellCode();
};

void SpellCodeTest::spellCode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("company") << "甲公司"
                             << "JGS";
    QTest::newRow("Chinese, Latin and digits") << "A4纸"
                                               << "A4Z";
    QTest::newRow("lower case becomes upper case") << "abc笔记本x"
                                                   << "ABCBJBX";
    QTest::newRow("punctuation and spaces are dropped") << "  A-4 纸（80克）/包。"
                                                        << "A4Z80KB";
    QTest::newRow("full-width letters and digits") << "ＬＥＤ灯２０Ｗ"
                                                   << "LEDD20W";
    QTest::newRow("accented Latin") << "Café咖啡"
                                    << "CAFEKF";
    QTest::newRow("only symbols") << "※★—"
                                  << "";
    QTest::newRow("character without a reading") << "人々"
                                                 << "R";

    // Readings that differ from ICU's first reading of a character.
    QTest::newRow("bank") << "银行"
                          << "YH";
    QTest::newRow("Changsha") << "长沙"
                              << "CS";
    QTest::newRow("weight") << "重量"
                            << "ZL";
    QTest::newRow("music") << "音乐"
                           << "YY";
    QTest::newRow("Chaoyang") << "朝阳"
                              << "CY";
    QTest::newRow("unit") << "单位"
                          << "DW";
    QTest::newRow("Chongqing") << "重庆"
                               << "CQ";
    QTest::newRow("accountant") << "会计"
                                << "KJ";
    QTest::newRow("branch of a bank") << "中国工商银行长沙分行"
                                      << "ZGGSYHCSFH";
    QTest::newRow("chairman") << "董事长"
                              << "DSZ";
    QTest::newRow("surname Zeng") << "曾小明"
                                  << "ZXM";
    QTest::newRow("air conditioner") << "格力空调"
                                     << "GLKT";
}

void SpellCodeTest::spellCode() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(GetSpellCode(text), expected);
}

QTEST_GUILESS_MAIN(SpellCodeTest)
#include "SpellCodeTest.moc"
