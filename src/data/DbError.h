#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the data layer: a failing statement, connection or conversion.
// what() carries the message as UTF-8; message() the same as text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &statement = QString())
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_statement(statement) {}

    QString message() const { return m_message; }
    // The statement that failed, as the program wrote it (empty when none).
    QString statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};
