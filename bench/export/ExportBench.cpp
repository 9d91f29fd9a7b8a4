// Times ExportList on a model/view list of receipt lines, as the detail report shows them:
// 100,000 rows and 15 columns (four of them right-aligned numbers), plus the totals row.
//
//   quillo-bench-export [rows] [runs]
//
// Each run exports to .xlsx and to .csv in a temporary directory and prints the time and size.
#include "ui/ListExport.h"
#include "ui/UiServices.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeView>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The user of the benchmark: names the file, and reports whatever the export would show.
class BenchUi : public UiServices {
public:
    QString nextFile;

    void message(Kind, const QString &, const QString &text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    Answer question(Kind, const QString &, const QString &) override { return Answer::Yes; }
    bool input(const QString &, const QString &, QString &) override { return false; }
    QString fileName(Kind, const QString &, const QString &, const QString &) override { return nextFile; }
    bool launch(Kind, const QString &, const QStringList &) override { return false; }
    void terminateProcess(int exitCode) override { std::exit(exitCode); }
};

const QStringList headings = {"序号", "单据编号", "收款日期", "交款单位", "联系人",
                              "电话", "地址",     "商品编号", "商品名称", "规格型号",
                              "单位", "数量",     "单价",     "金额",     "备注"};

bool rightAligned(int column) {
    return column == 0 || column == 11 || column == 12 || column == 13;
}

class LinesModel : public QAbstractTableModel {
public:
    explicit LinesModel(int rows) {
        const QStringList companies = {"甲公司", "乙贸易有限公司", "丙市第一中学", "丁物业管理处"};
        const QStringList goods = {"打印纸", "签字笔", "墨盒", "文件夹", "物业费", "水费"};
        m_rows.reserve(rows + 1);
        double total = 0;
        for (int i = 0; i < rows; ++i) {
            const int qty = 1 + i % 17;
            const double price = 0.5 * (1 + i % 400);
            const double amount = qty * price;
            total += amount;
            m_rows.append({QString::number(i + 1), QString::number(1 + i / 4).rightJustified(7, u'0'),
                           QStringLiteral("2014-%1-%2")
                               .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                               .arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                           companies[i % companies.size()] + QString::number(i % 500), "张三",
                           "0731-8888" + QString::number(1000 + i % 9000),
                           "长沙市岳麓区麓山南路" + QString::number(i % 300) + "号",
                           "SP" + QString::number(i % 20000).rightJustified(5, u'0'), goods[i % goods.size()],
                           "A4 80克", "包", QString::number(qty), QString::number(price),
                           QString::number(amount, 'f', 2),
                           i % 10 == 0 ? QStringLiteral("月结") : QString()});
        }
        QStringList totals(headings.size());
        totals[1] = "合计";
        totals[13] = QString::number(total, 'f', 2);
        m_rows.append(totals);
    }

    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headings.size());
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (role == Qt::DisplayRole)
            return m_rows[index.row()][index.column()];
        if (role == Qt::TextAlignmentRole && rightAligned(index.column()))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return headings.value(section);
        return {};
    }

private:
    QList<QStringList> m_rows;
};

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;

    QElapsedTimer fill;
    fill.start();
    LinesModel model(rows);
    QTreeView view;
    view.setModel(&model);
    view.resize(1600, 800);
    std::printf("list: %d rows + totals row, %lld columns, built in %lld ms, peak %ld MB\n", rows,
                static_cast<long long>(headings.size()), static_cast<long long>(fill.elapsed()),
                peakMegabytes());

    BenchUi ui;
    UiServices::install(&ui);
    QTemporaryDir dir;
    for (const char *suffix : {"xlsx", "csv"}) {
        QList<qint64> times;
        for (int run = 0; run < runs; ++run) {
            ui.nextFile = dir.filePath(QStringLiteral("清单.") + QLatin1StringView(suffix));
            QElapsedTimer timer;
            timer.start();
            ExportList(&view);
            times.append(timer.elapsed());
        }
        std::sort(times.begin(), times.end());
        std::printf("%-4s: best %lld ms, median %lld ms over %d runs, file %.1f MB, peak %ld MB\n", suffix,
                    static_cast<long long>(times.first()), static_cast<long long>(times[times.size() / 2]),
                    runs, QFileInfo(ui.nextFile).size() / 1048576.0, peakMegabytes());
    }
    UiServices::install(nullptr);
    return 0;
}
