// The About dialog: its version text, its look and its link to the help pages.
#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include "app/About.h"
#include "data/Globals.h"

#include <QLabel>
#include <QTest>

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void versionFromText_data();
    void versionFromText();
    void dialogShowsTheProgramVersion();
    void helpLink_data();
    void helpLink();
};

void AboutTest::versionText_data() {
    QTest::addColumn<QList<int>>("parts");
    QTest::addColumn<QString>("text");
    QTest::newRow("file version of a release")
        << QList<int>{8, 0, 5164, 38426} << "8.0.5164.38426(Build2014022001)";
    QTest::newRow("build padded to four digits") << QList<int>{8, 0, 0, 7} << "8.0.0.0007(Build2014022001)";
    QTest::newRow("build zero") << QList<int>{8, 0, 0, 0} << "8.0.0.0000(Build2014022001)";
    QTest::newRow("four digits kept") << QList<int>{8, 1, 2, 1234} << "8.1.2.1234(Build2014022001)";
}

void AboutTest::versionText() {
    QFETCH(QList<int>, parts);
    QFETCH(QString, text);
    QCOMPARE(AboutVersionText(parts[0], parts[1], parts[2], parts[3]), text);
}

void AboutTest::versionFromText_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("four parts") << "8.0.5164.38426"
                                << "8.0.5164.38426(Build2014022001)";
    QTest::newRow("three parts") << "8.0.0"
                                 << "8.0.0.0000(Build2014022001)";
    QTest::newRow("one part") << "9"
                              << "9.0.0.0000(Build2014022001)";
    QTest::newRow("no version") << ""
                                << "()(Build2014022001)";
    QTest::newRow("unreadable") << "8.x"
                                << "8.0.0.0(Build2014022001)";
    QTest::newRow("too many parts") << "1.2.3.4.5"
                                    << "8.0.0.0(Build2014022001)";
}

void AboutTest::versionFromText() {
    QFETCH(QString, version);
    QFETCH(QString, text);
    QCOMPARE(AboutVersionText(version), text);
}

void AboutTest::dialogShowsTheProgramVersion() {
    QCOMPARE(ProgramVersion(), QString(QUILLO_EXPECTED_VERSION)); // the CMake project version
    TFrm_About about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QString("关于..."));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(about.findChild<QLabel *>("Label4")->text(),
             "版本：" + AboutVersionText(QString(QUILLO_EXPECTED_VERSION)));
    const QLabel *picture = about.findChild<QLabel *>("Image1");
    QVERIFY(picture);
    const QImage image = picture->pixmap().toImage();
    QVERIFY(!image.isNull());
    QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).alpha() > 0);

    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
}

void AboutTest::helpLink_data() {
    QTest::addColumn<bool>("opened");
    QTest::newRow("opened") << true;
    QTest::newRow("no program to open it") << false;
}

void AboutTest::helpLink() {
    QFETCH(bool, opened);
    TestAppDir app;
    ScriptedUiServices ui;
    ui.answerLaunch(opened);

    TFrm_About about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QLabel *>("Label3"), Qt::LeftButton);

    const QString page = AppDir + "/help/index.html";
    QCOMPARE(ui.launches(), QList<QStringList>{QStringList{page}});
    QCOMPARE(ui.shown()[0].kind, UiServices::Kind::Open);
    if (opened) {
        QCOMPARE(ui.shown().size(), 1);
    } else {
        QCOMPARE(ui.shown().size(), 2);
        QCOMPARE(ui.shown()[1].kind, UiServices::Kind::Info);
        QVERIFY(ui.shown()[1].text.contains(page));
    }
    QVERIFY(about.isVisible());
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
