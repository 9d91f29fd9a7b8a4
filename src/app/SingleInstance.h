#pragma once

#include <QString>

// The single-instance rule: a lock named after the application title, held for the life of
// the process. The system releases it when the process ends, however it ends.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process holds the lock; false when another one does.
    bool acquire();
    void release();

    // Gives up the lock this process holds, if any (before a new copy is started).
    static void releaseHeld();

    // Where the lock of a name lives (one per user).
    static QString lockPath(const QString &name);

private:
    QString m_path;
    int m_fd = -1;
};
