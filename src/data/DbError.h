#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the data layer: a failing statement, connection or conversion.
// what() carries the message as UTF-8; message() the same as text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &statement = QString(), int engineCode = 0)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_statement(statement)
        , m_engineCode(engineCode) {}

    QString message() const { return m_message; }
    // The statement that failed, as the program wrote it (empty when none).
    QString statement() const { return m_statement; }
    // The engine's extended result code of the failure; 0 for the data layer's own errors.
    int engineCode() const { return m_engineCode; }

private:
    QString m_message;
    QString m_statement;
    int m_engineCode = 0;
};
