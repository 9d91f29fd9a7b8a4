#pragma once

#include <QString>
#include <QtGlobal>

// One question to a time server in the simple network time protocol (RFC 4330), over UDP.
struct SntpReading {
    QString error;       // why there is no reading; empty when the server answered
    qint64 offsetMs = 0; // the server's clock minus this computer's
    qint64 delayMs = 0;  // round trip, without the server's own time
    bool ok() const { return error.isEmpty(); }
};

inline constexpr quint16 SntpPort = 123;
inline constexpr int SntpTimeoutMs = 10000;

// Asks host (a name or an address) on port and waits up to timeoutMs for its answer.
// Answers that do not belong to the question (another originate time, another sender) are
// ignored; a refusal ("kiss of death"), an unsynchronised server or a short packet is an
// error.
SntpReading QuerySntpServer(const QString &host, quint16 port = SntpPort, int timeoutMs = SntpTimeoutMs);

// "host" or "host:port" (port 123 when none is given).
void SplitServerAddress(const QString &server, QString &host, quint16 &port);
