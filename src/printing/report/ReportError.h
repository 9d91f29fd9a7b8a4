#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the report engine: a report file that cannot be read or written, a
// model that breaks its rules, an output that cannot be opened. message() is shown to the user.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}

    QString message() const { return m_message; }

private:
    QString m_message;
};
