// quillo-initdb: creates a fresh Quillo database file.
//   quillo-initdb [DIRECTORY-OR-FILE]
// Without an argument the file is created in the current directory. An existing database is
// never touched (an empty file is replaced); a run that is killed leaves no file.
#include "data/DatabaseFile.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(u'-'))) {
        err << "usage: quillo-initdb [DIRECTORY-OR-FILE]\n";
        return 2;
    }
    QString target = args.isEmpty() ? QDir::currentPath() : args[0];
    if (QFileInfo(target).isDir())
        target = QDir(target).filePath(DatabaseFileName);

    // The password is the one the program's connection string carries.
    const ConnectionParams params = DbConnection::parseConnectionString(BuildConnString(QDir::currentPath()));
    try {
        CreateDatabase(QFileInfo(target).absoluteFilePath(), params.password);
    } catch (const DbError &error) {
        err << "quillo-initdb: " << error.message() << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << QDir::toNativeSeparators(target) << '\n';
    return 0;
}
