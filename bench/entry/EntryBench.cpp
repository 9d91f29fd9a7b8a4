// Benchmark of the receipt entry window on the large database: a keystroke in the goods and
// paying-party lookups, saving a 4-line receipt, and "新单(&N)".
//   quillo-bench-entry DIR   works on a copy of DIR/qlodata8.0.mdb (made by quillo-bench generate)
#include "BenchTimer.h"

#include "data/BillNumbering.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "ui/LookupComboBox.h"
#include "ui/LookupGrid.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/ReceiptGridModel.h"
#include "receipts/ReceiptLookups.h"
#include "receipts/ReceiptSave.h"
#include "receipts/Ss_sale.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

QTextStream out(stdout);

// Nothing should be shown while measuring: every message is printed and counted.
class PrintingUiServices : public UiServices {
public:
    int shown = 0;
    void message(Kind, const QString &caption, const QString &text) override {
        ++shown;
        QTextStream(stderr) << caption << ": " << text << '\n';
    }
    Answer question(Kind kind, const QString &caption, const QString &text) override {
        message(kind, caption, text);
        return Answer::No;
    }
    bool input(const QString &, const QString &, QString &) override { return false; }
    QString fileName(Kind, const QString &, const QString &, const QString &) override { return QString(); }
    bool launch(Kind, const QString &, const QStringList &) override { return false; }
    void terminateProcess(int) override {}
};

// One keystroke as the keyboard delivers it (Chinese characters come as text, as from an
// input method), sent to the focused box.
void press(QWidget *box, int key, const QString &text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &up);
}

int keyOf(QChar c) {
    if (c >= u'a' && c <= u'z')
        return Qt::Key_A + (c.unicode() - u'a');
    if (c >= u'0' && c <= u'9')
        return Qt::Key_0 + (c.unicode() - u'0');
    return Qt::Key_unknown;
}

// Types each text one character at a time and deletes it again, timing every keystroke from
// the key to the refilled lookup.
void timeKeystrokes(const QString &what, QWidget *box, LookupGrid *lookup, const QStringList &texts,
                    int rounds) {
    BenchTimer all;
    QElapsedTimer one;
    qint64 slowest = 0;
    int keystrokes = 0;
    const auto timed = [&](int key, const QString &text) {
        one.start();
        all.start();
        press(box, key, text);
        all.stop();
        slowest = std::max(slowest, one.nsecsElapsed());
        ++keystrokes;
    };
    QStringList found;
    for (int round = 0; round < rounds; ++round) {
        for (const QString &text : texts) {
            for (QChar c : text)
                timed(keyOf(c), QString(c));
            if (round == 0)
                found << QStringLiteral("“%1” %2").arg(text).arg(lookup->recordCount());
            for (qsizetype i = 0; i < text.size(); ++i)
                timed(Qt::Key_Backspace, QString());
        }
    }
    out << what << " (records found: " << found.join(QStringLiteral(", ")) << ")\n";
    all.report(out, QStringLiteral("  keystroke to refilled lookup, median of %1").arg(keystrokes), 30);
    out << "  slowest keystroke: " << QString::number(slowest / 1e6, 'f', 2) << " ms\n";
}

// The statement alone, for the texts that cost the most: nothing or almost nothing matches, so
// the whole table is read.
void timeStatement(const QString &what, const QString &table, const QString &text, int rounds) {
    BenchTimer timer;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        DbQuery query(ShareDM1->ShareConn);
        query.setText(LookupStatement(table, text));
        query.open();
        while (!query.eof())
            query.next();
        timer.stop();
    }
    timer.report(out, what);
}

ReceiptLine benchLine(int i) {
    const QString code = QStringLiteral("%1").arg(1000 + i * 37, 5, 10, QLatin1Char('0'));
    return ReceiptLine{code,
                       QStringLiteral("华兴A4打印纸"),
                       QStringLiteral("70克"),
                       QStringLiteral("包"),
                       QString::number(i + 1),
                       QStringLiteral("25.5"),
                       GeneralNumberText((i + 1) * 25.5),
                       i == 0 ? QStringLiteral("已收讫") : QString()};
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: quillo-bench-entry DIR (a database made by quillo-bench generate)\n";
        return 2;
    }
    const QString source = QDir(args[0]).filePath(DatabaseFileName);
    QTemporaryDir copy;
    if (!QFile::copy(source, QDir(copy.path()).filePath(DatabaseFileName))) {
        QTextStream(stderr) << "cannot copy " << source << '\n';
        return 1;
    }
    PrintingUiServices ui;
    UiServices::install(&ui);
    try {
        AppDir = copy.path();
        ConnString = BuildConnString(AppDir);
        ConnectDatabase();
        OperatorName = QStringLiteral("管理员");
        RowCount = 5;
        AmountFormula = QStringLiteral("数量*单价");
        {
            DbQuery count(ShareDM1->ShareConn);
            count.setText(QStringLiteral("select (select count(*) from ss_sale) as r,(select count(*) from "
                                         "aa_goods) as g,(select count(*) from aa_company) as p"));
            count.open();
            out << "database: " << count.asText("r") << " receipts, " << count.asText("g") << " goods, "
                << count.asText("p") << " paying parties (a copy of " << source << ")\n";
        }

        auto *form = new TForm_SS_Sale;
        form->resize(1280, 800);
        form->show();
        QApplication::setActiveWindow(form);
        QApplication::processEvents();
        ReceiptEntryPanel *bill = form->Bill;

        // Lookups: code, name and spell-code fragments, and texts that match nothing.
        bill->GoToCell(1, 1);
        timeKeystrokes(QStringLiteral("goods lookup over aa_goods"), bill->BoxGoods, bill->GoodsDB,
                       {QStringLiteral("1999"), QStringLiteral("华兴签字笔"), QStringLiteral("hxqzb"),
                        QStringLiteral("qqqq")},
                       5);
        bill->GoodsDB->hide();
        bill->focusCompany();
        timeKeystrokes(QStringLiteral("paying-party lookup over aa_company"), bill->BoxCompany,
                       bill->CompanyDB,
                       {QStringLiteral("dw-0499"), QStringLiteral("杭州华兴"), QStringLiteral("hzhx"),
                        QStringLiteral("qqqq")},
                       5);
        bill->CompanyDB->hide();
        timeStatement(QStringLiteral("goods search matching nothing (statement alone)"),
                      QStringLiteral("aa_goods"), QStringLiteral("qqqq"), 21);
        timeStatement(QStringLiteral("paying-party search matching nothing (statement alone)"),
                      QStringLiteral("aa_company"), QStringLiteral("qqqq"), 21);

        // Saving a 4-line receipt, the save alone and the form's command (checks included).
        const int saves = 31;
        ReceiptDraft draft;
        draft.billDate = QDate(2026, 12, 11);
        draft.companyName = QStringLiteral("杭州华兴商贸有限公司");
        draft.linkman = QStringLiteral("赵先生");
        draft.zgName = QStringLiteral("张伟");
        draft.skrName = OperatorName;
        draft.skfsName = QStringLiteral("现金");
        double total = 0;
        for (int i = 0; i < 4; ++i) {
            draft.lines << benchLine(i);
            total += (i + 1) * 25.5;
        }
        draft.total = GeneralNumberText(total);
        draft.capitals = QStringLiteral("贰佰伍拾伍圆整");
        BenchTimer save;
        for (int i = 0; i < saves; ++i) {
            draft.billCode = QStringLiteral("B%1").arg(i);
            save.start();
            SaveNewReceipt(draft);
            save.stop();
        }
        save.report(out, QStringLiteral("save a 4-line receipt (SaveNewReceipt, one transaction), median"),
                    30);

        BenchTimer newReceipt, formSave, number;
        for (int i = 0; i < saves; ++i) {
            number.start();
            MakeBillCode(4);
            number.stop();
            newReceipt.start();
            form->BitBtn4Click();
            newReceipt.stop();
            bill->BoxCompany->setEditText(draft.companyName);
            bill->setLines(draft.lines);
            bill->GoToCell(1, 1);
            formSave.start();
            form->BitBtn1Click();
            formSave.stop();
            if (form->SavedSaleId == 0)
                throw std::runtime_error("the form did not save");
        }
        number.report(out, QStringLiteral("next receipt number (MakeBillCode rule 4), median"));
        newReceipt.report(out, QStringLiteral("\"新单(&N)\" (grid, number, header), median"), 30);
        formSave.report(
            out, QStringLiteral("\"保存新增(&S)\" with a 4-line receipt (checks and save), median"), 30);
        delete form;
        DisconnectDatabase();
    } catch (const std::exception &e) {
        QTextStream(stderr) << "quillo-bench-entry: " << QString::fromUtf8(e.what()) << '\n';
        UiServices::install(nullptr);
        return 1;
    }
    UiServices::install(nullptr);
    out.flush();
    if (ui.shown > 0) {
        QTextStream(stderr) << ui.shown << " message(s) were shown while measuring\n";
        return 1;
    }
    return 0;
}
