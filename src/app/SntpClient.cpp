#include "app/SntpClient.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtEndian>

namespace {
// Seconds from 1900-01-01 (the protocol's epoch) to 1970-01-01.
constexpr qint64 EpochOffsetSeconds = 2208988800LL;
constexpr int PacketSize = 48;

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

void writeTimestamp(uchar *at, qint64 unixMs) {
    const quint64 seconds = static_cast<quint64>(unixMs / 1000 + EpochOffsetSeconds);
    const quint64 fraction = (static_cast<quint64>(unixMs % 1000) << 32) / 1000;
    qToBigEndian(static_cast<quint32>(seconds), at);
    qToBigEndian(static_cast<quint32>(fraction), at + 4);
}

quint64 rawTimestamp(const uchar *at) {
    return qFromBigEndian<quint64>(at);
}

qint64 unixMsOf(const uchar *at) {
    qint64 seconds = qFromBigEndian<quint32>(at);
    const quint64 fraction = qFromBigEndian<quint32>(at + 4);
    // Seconds with the top bit clear belong to the era that starts in 2036.
    if (seconds < 0x80000000LL)
        seconds += 0x100000000LL;
    return (seconds - EpochOffsetSeconds) * 1000 + static_cast<qint64>((fraction * 1000) >> 32);
}

QHostAddress resolve(const QString &host, QString &error) {
    QHostAddress address;
    if (address.setAddress(host))
        return address;
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        error = QStringLiteral("找不到时间服务器 %1（%2）。").arg(host, info.errorString());
        return {};
    }
    for (const QHostAddress &a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    return info.addresses().first();
}
} // namespace

void SplitServerAddress(const QString &server, QString &host, quint16 &port) {
    host = server.trimmed();
    port = SntpPort;
    const qsizetype colon = host.lastIndexOf(u':');
    // One colon only: an IPv6 address has several and no port here.
    if (colon > 0 && host.indexOf(u':') == colon) {
        bool ok = false;
        const uint p = host.mid(colon + 1).toUInt(&ok);
        if (ok && p > 0 && p <= 65535) {
            port = static_cast<quint16>(p);
            host.truncate(colon);
        }
    }
}

SntpReading QuerySntpServer(const QString &host, quint16 port, int timeoutMs) {
    SntpReading reading;
    const QDeadlineTimer deadline(timeoutMs);
    const QHostAddress address = resolve(host, reading.error);
    if (address.isNull())
        return reading;

    QUdpSocket socket;
    QByteArray request(PacketSize, '\0');
    auto *out = reinterpret_cast<uchar *>(request.data());
    out[0] = 0x23; // no leap warning, version 4, client
    const qint64 sent = nowMs();
    writeTimestamp(out + 40, sent);
    const quint64 ourStamp = rawTimestamp(out + 40);
    if (socket.writeDatagram(request, address, port) != PacketSize) {
        reading.error =
            QStringLiteral("无法向时间服务器 %1 发送请求（%2）。").arg(host, socket.errorString());
        return reading;
    }

    while (socket.waitForReadyRead(static_cast<int>(qMax<qint64>(0, deadline.remainingTime())))) {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket.receiveDatagram();
            const qint64 received = nowMs();
            const QByteArray data = datagram.data();
            if (datagram.senderPort() != port || !datagram.senderAddress().isEqual(address))
                continue;
            if (data.size() < PacketSize) {
                reading.error = QStringLiteral("时间服务器的应答不完整。");
                return reading;
            }
            const auto *in = reinterpret_cast<const uchar *>(data.constData());
            if (rawTimestamp(in + 24) != ourStamp)
                continue; // an answer to some other question
            const int leap = in[0] >> 6;
            const int mode = in[0] & 7;
            const int stratum = in[1];
            if (mode != 4 && mode != 5) {
                reading.error = QStringLiteral("时间服务器的应答无效。");
                return reading;
            }
            if (stratum == 0) {
                reading.error = QStringLiteral("时间服务器拒绝了请求（%1）。")
                                    .arg(QString::fromLatin1(data.mid(12, 4)).trimmed());
                return reading;
            }
            if (leap == 3 || rawTimestamp(in + 40) == 0) {
                reading.error = QStringLiteral("时间服务器自身的时钟没有同步。");
                return reading;
            }
            const qint64 serverReceived = unixMsOf(in + 32);
            const qint64 serverSent = unixMsOf(in + 40);
            reading.offsetMs = ((serverReceived - sent) + (serverSent - received)) / 2;
            reading.delayMs = (received - sent) - (serverSent - serverReceived);
            return reading;
        }
        if (deadline.hasExpired())
            break;
    }
    reading.error = QStringLiteral("时间服务器 %1 在 %2 秒内没有应答。").arg(host).arg(timeoutMs / 1000.0);
    return reading;
}
