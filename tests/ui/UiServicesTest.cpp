// The service seam as forms use it: what they show is recorded, questions are answered in order.
#include "ScriptedUiServices.h"

#include "ui/UiServices.h"

#include <QTest>

class UiServicesTest : public QObject {
    Q_OBJECT

private slots:
    void messagesAreRecordedWithCaptionAndKind();
    void answersAreUsedInOrder();
    void uninstallReturnsToTheDesktopServices();
};

void UiServicesTest::messagesAreRecordedWithCaptionAndKind() {
    ScriptedUiServices ui;
    ShowInfo("保存成功！");
    ShowError("磁盘已满");
    QCOMPARE(ui.shown().size(), 2);
    QCOMPARE(ui.shown()[0].kind, UiServices::Kind::Info);
    QCOMPARE(ui.shown()[0].caption, QString("提示"));
    QCOMPARE(ui.shown()[0].text, QString("保存成功！"));
    QCOMPARE(ui.shown()[1].kind, UiServices::Kind::Error);
    QCOMPARE(ui.shown()[1].caption, QString("Quillo收据打印软件8.0"));
}

void UiServicesTest::answersAreUsedInOrder() {
    ScriptedUiServices ui;
    ui.answer(UiServices::Answer::No);
    ui.answer(UiServices::Answer::Yes);
    ui.answer(UiServices::Answer::Cancel);
    ui.answerInput("新名称");
    ui.cancelInput();
    ui.answerFileName("/tmp/out.xlsx");
    ui.answerLaunch(true);

    QVERIFY(!AskYesNo("确定要删除吗？"));
    QVERIFY(AskOkCancel("继续吗？"));
    QCOMPARE(AskYesNoCancel("保存修改吗？"), UiServices::Answer::Cancel);
    QString value = "旧名称";
    QVERIFY(InputBox("改名", "名称：", value));
    QCOMPARE(value, QString("新名称"));
    QVERIFY(!InputBox("改名", "名称：", value));
    QCOMPARE(value, QString("新名称"));
    QCOMPARE(SaveFileName("导出Excel", QString(), "*.xlsx"), QString("/tmp/out.xlsx"));
    QVERIFY(OpenWithSystem("/tmp/自述文件.txt"));

    QCOMPARE(ui.shown()[0].caption, QString("询问"));
    QCOMPARE(ui.shown()[0].kind, UiServices::Kind::YesNo);
    QCOMPARE(ui.shown()[2].kind, UiServices::Kind::YesNoCancel);
    QCOMPARE(ui.shown()[5].kind, UiServices::Kind::SaveFile);
    QCOMPARE(ui.launches(), QList<QStringList>{QStringList{"/tmp/自述文件.txt"}});
    QCOMPARE(ui.pendingAnswers(), 0);
}

void UiServicesTest::uninstallReturnsToTheDesktopServices() {
    UiServices *scripted = nullptr;
    {
        ScriptedUiServices ui;
        scripted = &UiServices::current();
        QCOMPARE(scripted, static_cast<UiServices *>(&ui));
    }
    QVERIFY(&UiServices::current() != scripted);
}

QTEST_MAIN(UiServicesTest)
#include "UiServicesTest.moc"
