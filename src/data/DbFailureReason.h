#pragma once

#include <QString>

#include <exception>

// Why a database operation failed, in the operator's words: the one place where the engine's
// result codes become texts such as "磁盘空间已满" or "数据库文件是只读的". An error of the
// data layer's own (no engine code) and any other error give their own message.
QString FailureReason(const std::exception &error);

// The same for an engine result code (extended or primary) and the engine's message.
QString EngineFailureReason(int engineCode, const QString &engineMessage);
