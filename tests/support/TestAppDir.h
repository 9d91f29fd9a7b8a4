#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

class DbConnection;

// A fresh application directory for one test: a new database made by the same code as
// quillo-initdb, AppDir and ConnString pointing at it, and the shared data module connected.
// The destructor disconnects, resets the globals and returns the clock to the system's.
class TestAppDir {
public:
    explicit TestAppDir(bool connect = true);
    ~TestAppDir();
    TestAppDir(const TestAppDir &) = delete;
    TestAppDir &operator=(const TestAppDir &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString databasePath() const;
    static QString password();

    // Runs Jet statements on ShareUpdate1 (test set-up); fails the test on an error.
    static void exec(const QString &statement);
    // The rows of a Jet select as "a|b;c|d" (columns joined by |, rows by ;).
    static QString rows(const QString &statement);
    // The same on another connection.
    static QString rows(DbConnection &connection, const QString &statement);
    // The single value of a one-row, one-column select.
    static QString value(const QString &statement);

private:
    QTemporaryDir m_dir;
};
