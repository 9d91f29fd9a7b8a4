#include "app/TimeSync.h"

#include "app/SntpClient.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"
#include "ui/UiServices.h"
#include "ui/Xt_myhint.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {
QString setRealClock(qint64 offsetMs) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 ns = static_cast<qint64>(now.tv_sec) * 1000000000LL + now.tv_nsec + offsetMs * 1000000LL;
    const timespec target{static_cast<time_t>(ns / 1000000000LL), static_cast<long>(ns % 1000000000LL)};
    if (clock_settime(CLOCK_REALTIME, &target) == 0)
        return {};
    if (errno == EPERM)
        return QStringLiteral("设置系统时间需要管理员权限，本程序没有这个权限。");
    return QString::fromLocal8Bit(std::strerror(errno));
}

SystemClockSetter &clockSetter() {
    static SystemClockSetter setter = setRealClock;
    return setter;
}
} // namespace

void SetSystemClockSetter(SystemClockSetter setter) {
    clockSetter() = setter ? std::move(setter) : SystemClockSetter(setRealClock);
}

QString TimeServer() {
    QString server;
    if (SelectRows(QStringLiteral("xt_accountset"), QStringLiteral("cfgvalues"),
                   QStringLiteral("accountsetid"), QStringLiteral("and cfgkey='timeserver'"))) {
        server = ShareDM1->ShareQuery1.asText("cfgvalues").trimmed();
        ShareDM1->ShareQuery1.close();
    }
    return server.isEmpty() ? QStringLiteral(QUILLO_TIME_SERVER) : server;
}

QString OffsetText(qint64 offsetMs) {
    if (offsetMs == 0)
        return QStringLiteral("本机时间与标准时间一致。");
    const QString seconds = QString::number(qAbs(offsetMs) / 1000.0, 'f', 3);
    return offsetMs > 0 ? QStringLiteral("本机时间比标准时间慢 %1 秒。").arg(seconds)
                        : QStringLiteral("本机时间比标准时间快 %1 秒。").arg(seconds);
}

void SyncStandardTime() {
    QString host;
    quint16 port = SntpPort;
    SplitServerAddress(TimeServer(), host, port);
    QString failure;
    SntpReading reading;
    {
        const WaitBannerShown banner(QStringLiteral("正在同步时间，请稍候......"));
        reading = QuerySntpServer(host, port, SntpTimeoutMs);
        failure = reading.ok() ? clockSetter()(reading.offsetMs) : reading.error;
    }
    if (failure.isEmpty()) {
        ShowInfo(QStringLiteral("同步成功！"));
        return;
    }
    QString text = QStringLiteral("同步失败！\r\n");
    if (reading.ok())
        text += QStringLiteral("时间服务器 %1 已应答：").arg(host) + OffsetText(reading.offsetMs) +
                QStringLiteral("\r\n");
    ShowInfo(text + QStringLiteral("原因：") + failure);
}
