// The source tree checks out on every file system, including those that ignore case.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTest>

class SourceTreeTest : public QObject {
    Q_OBJECT

private slots:
    void noTwoPathsDifferOnlyInCase();
};

namespace {
// Collects every path below dir, relative to root; build trees and the repository's own
// data are not part of a checkout.
void collect(const QDir &root, const QString &dir, QStringList &paths) {
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName() == QLatin1String(".git"))
            continue;
        if (entry.isDir() && !entry.isSymLink()) {
            if (QFileInfo::exists(entry.filePath() + QStringLiteral("/CMakeCache.txt")))
                continue;
            paths.append(root.relativeFilePath(entry.filePath()));
            collect(root, entry.filePath(), paths);
        } else {
            paths.append(root.relativeFilePath(entry.filePath()));
        }
    }
}
} // namespace

void SourceTreeTest::noTwoPathsDifferOnlyInCase() {
    const QDir root(QStringLiteral(QUILLO_SOURCE_DIR));
    QVERIFY(root.exists(QStringLiteral("CMakeLists.txt")));
    QStringList paths;
    collect(root, root.path(), paths);
    QVERIFY(paths.contains(QStringLiteral("src/app/CMakeLists.txt")));
    QHash<QString, QString> byFoldedPath;
    QStringList clashes;
    for (const QString &path : paths) {
        const QString folded = path.toCaseFolded();
        const auto seen = byFoldedPath.constFind(folded);
        if (seen != byFoldedPath.cend())
            clashes.append(*seen + QStringLiteral(" / ") + path);
        else
            byFoldedPath.insert(folded, path);
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(SourceTreeTest)
#include "SourceTreeTest.moc"
