// Times the list kit on a receipt list as the receipt query shows it: 15 columns (two of them
// numbers) and two hidden values per row, in a shown ListView.
//
//   quillo-bench-list [rows] [stream-rows]
//
// Prints, for rows (default 100,000): building the rows from texts, filling the model, the
// first sort of a text column (keys made) and a second one, a numeric sort, ticking all rows,
// and the memory held (times are this thread's processor time); then streams stream-rows (default 1,000,000)
// in chunks of 10,000 behind a first screen of 100 rows.
#include "ui/list/ListModel.h"
#include "ui/list/ListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <ctime>

namespace {

const ListColumns receiptColumns{
    TextColumn("单据编号", 165), TextColumn("开单日期", 85),  TextColumn("开单人", 80),
    TextColumn("交款单位", 120), TextColumn("联系人", 80),    TextColumn("联系电话", 100),
    TextColumn("地址", 120),     TextColumn("主管", 80),      TextColumn("会计", 80),
    TextColumn("收款人", 80),    TextColumn("收款方式", 100), NumberColumn("总金额", 80),
    TextColumn("大写金额", 120), TextColumn("备注", 200),     NumberColumn("打印次数", 70)};

// The resident memory of the process in MB.
double residentMb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

std::vector<ListRow> receipts(int first, int count) {
    static const QStringList companies = {"东方贸易有限公司", "bright star", "丙市第一中学", "Alpha物业",
                                          "丁物业管理处"};
    static const QStringList people = {"张三", "李四", "王五", "zhao", "Qian"};
    std::vector<ListRow> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = first; i < first + count; ++i) {
        const int key = 2000000 - i;
        const QString code = QStringLiteral("SK%1").arg(key, 10, 10, QLatin1Char('0'));
        const QString amount = QString::number((key % 100000) / 100.0, 'g', 15);
        rows.push_back(
            ListRow{{code,
                     QStringLiteral("2014-%1-%2")
                         .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                         .arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                     people[i % 5], companies[(i / 3) % 5], people[(i / 7) % 5],
                     QStringLiteral("0755-%1").arg(80000000 + i % 9999), "深圳市福田区", people[1], people[2],
                     people[i % 5], "现金", amount, "壹佰贰拾叁元整", "", QString::number(i % 3)},
                    {code, QString::number(key)}});
    }
    return rows;
}

// The processor time of this thread since the last call, in ms: on a machine shared with
// other work, wall-clock times measure the others too.
double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double ms(QElapsedTimer &timer) {
    static double last = cpuNow();
    const double now = cpuNow();
    const double elapsed = now - last;
    last = now;
    timer.restart();
    return elapsed;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int streamed = argc > 2 ? std::atoi(argv[2]) : 1000000;

    ListView view(receiptColumns);
    view.setCheckable(true);
    view.resize(1200, 700);
    view.show();
    app.processEvents();
    const double baseMb = residentMb();

    QElapsedTimer timer;
    timer.start();
    ms(timer);
    {
        // The model alone, without a view: what the kit itself costs.
        ListModel model(receiptColumns);
        model.setCheckable(true);
        std::vector<ListRow> rows = receipts(0, count);
        ms(timer);
        model.setRows(std::move(rows));
        const double fill = ms(timer);
        ListSortRule rule;
        rule.click(model, 3);
        const double text1 = ms(timer);
        rule.click(model, 3);
        const double text2 = ms(timer);
        rule.click(model, 11);
        const double number = ms(timer);
        model.setAllTicked(true);
        const double tick = ms(timer);
        std::printf(
            "model alone: fill %.1f ms, sort 交款单位 %.1f ms (keys made) and %.1f ms, 总金额 %.1f ms, "
            "全选 %.1f ms\n",
            fill, text1, text2, number, tick);
    }
    ms(timer);
    std::vector<ListRow> rows = receipts(0, count);
    const double build = ms(timer);
    view.listModel()->setRows(std::move(rows));
    view.selectRow(0);
    const double fill = ms(timer);
    app.processEvents();
    const double firstPaint = ms(timer);
    std::printf(
        "%d rows x 15 columns: rows built from texts %.1f ms, model filled %.1f ms, first paint %.1f ms\n",
        count, build, fill, firstPaint);
    std::printf("memory of the loaded list: %.0f MB\n", residentMb() - baseMb);

    view.sortRule().click(*view.listModel(), 3);
    const double sortText1 = ms(timer);
    view.sortRule().click(*view.listModel(), 3);
    const double sortText2 = ms(timer);
    view.sortRule().click(*view.listModel(), 11);
    const double sortNumber = ms(timer);
    view.sortRule().click(*view.listModel(), 0);
    const double sortCode = ms(timer);
    app.processEvents();
    std::printf("sort 交款单位 %.1f ms (keys made), again %.1f ms; 总金额 %.1f ms; 单据编号 %.1f ms\n",
                sortText1, sortText2, sortNumber, sortCode);
    view.tickAll();
    const double tick = ms(timer);
    view.invertTicks();
    const double invert = ms(timer);
    std::printf("全选 %.1f ms, 反选 %.1f ms\n", tick, invert);

    if (streamed > 0) {
        view.listModel()->clear();
        app.processEvents();
        const double before = residentMb();
        timer.restart();
        view.listModel()->setRows(receipts(0, 100));
        view.selectRow(0);
        app.processEvents();
        const double firstScreen = ms(timer);
        double worstChunk = 0;
        for (int first = 100; first < streamed; first += 10000) {
            const double start = cpuNow();
            view.listModel()->appendRows(receipts(first, std::min(10000, streamed - first)));
            app.processEvents();
            worstChunk = std::max(worstChunk, cpuNow() - start);
        }
        const double rest = ms(timer);
        std::printf("%d rows streamed: first screen %.1f ms, the rest %.0f ms in chunks of 10,000 (slowest "
                    "chunk %.1f ms, texts included), memory %.0f MB\n",
                    view.listModel()->rowCount(), firstScreen, rest, worstChunk, residentMb() - before);
        view.sortRule().click(*view.listModel(), 3);
        std::printf("sort 交款单位 over %d rows: %.0f ms\n", view.listModel()->rowCount(), ms(timer));
    }
    return 0;
}
