#include "data/SafeFile.h"

#include "data/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

[[noreturn]] void fail(const QString &what, const QString &path) {
    throw DbError(QStringLiteral("%1%2（%3）").arg(what, shown(path), systemReason()));
}

void syncPath(const QString &path, int flags, const QString &what) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        fail(what, path);
    // Folders of some file systems cannot be synced; their entries are safe there anyway.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EBADF) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fail(what, path);
    }
    ::close(fd);
}

// Writes all of a buffer, going on after short writes and interrupted calls.
bool writeAll(int fd, const char *data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}
} // namespace

QString PartialNameOf(const QString &target) {
    return target + QStringLiteral(".part");
}

void SyncFile(const QString &path) {
    syncPath(path, O_RDONLY, QStringLiteral("无法把数据写入磁盘："));
}

void SyncFolderOf(const QString &path) {
    syncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY, QStringLiteral("无法把数据写入磁盘："));
}

void RenameDurably(const QString &from, const QString &to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw DbError(
            QStringLiteral("无法把 %1 改名为 %2（%3）").arg(shown(from), shown(to), systemReason()));
    SyncFolderOf(to);
}

void RemoveIfExists(const QString &path) {
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        fail(QStringLiteral("无法删除文件："), path);
}

void CopyFileSynced(const QString &from, const QString &to, const std::function<void(qint64)> &afterChunk) {
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        fail(QStringLiteral("无法读取文件："), from);
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int saved = errno;
        ::close(in);
        errno = saved;
        fail(QStringLiteral("无法写入文件："), to);
    }
    constexpr qint64 chunk = 1 << 20;
    QByteArray buffer(chunk, Qt::Uninitialized);
    qint64 written = 0;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || !writeAll(out, buffer.constData(), n)) {
            const int saved = errno;
            const bool reading = n < 0;
            ::close(in);
            ::close(out);
            errno = saved;
            fail(reading ? QStringLiteral("无法读取文件：") : QStringLiteral("无法写入文件："),
                 reading ? from : to);
        }
        if (n == 0)
            break;
        written += n;
        if (afterChunk)
            afterChunk(written);
    }
    ::close(in);
    const bool synced = ::fsync(out) == 0;
    const int saved = errno;
    if (::close(out) != 0 || !synced) {
        if (!synced)
            errno = saved;
        fail(QStringLiteral("无法把数据写入磁盘："), to);
    }
}
