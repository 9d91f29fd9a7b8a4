#pragma once

#include <QString>
#include <functional>

// "同步标准时间": asks the time server and sets the computer's clock by the offset found.

// The time server: the setting "timeserver" of xt_accountset ("host" or "host:port") when the
// database has one, otherwise the server fixed at build time.
QString TimeServer();

// Moves the system clock by offsetMs; returns why it could not (empty when it did).
using SystemClockSetter = std::function<QString(qint64 offsetMs)>;
// Replaces the real setter (tests); an empty one puts it back.
void SetSystemClockSetter(SystemClockSetter setter);

// The command: banner, question to the server (10 s), clock set, "同步成功！" or
// "同步失败！" with what was measured and why it failed.
void SyncStandardTime();

// "本机时间比标准时间慢 1.250 秒。" and the like, for an offset (server minus local).
QString OffsetText(qint64 offsetMs);
