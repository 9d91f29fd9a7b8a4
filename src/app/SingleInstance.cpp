#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
SingleInstance *held = nullptr;
}

SingleInstance::SingleInstance(const QString &name)
    : m_path(lockPath(name)) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lockPath(const QString &name) {
    const QByteArray hash =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("quillo-%1-%2.lock").arg(getuid()).arg(QString::fromLatin1(hash)));
}

bool SingleInstance::acquire() {
    if (m_fd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for the lock: better to run than to refuse
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    held = this;
    return true;
}

void SingleInstance::releaseHeld() {
    if (held)
        held->release();
}

void SingleInstance::release() {
    if (held == this)
        held = nullptr;
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}
