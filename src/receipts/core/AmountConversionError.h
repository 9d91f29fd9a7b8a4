#pragma once

#include <QString>

#include <stdexcept>

// An amount that cannot be read as a number or summed; carries the message shown to the user.
class AmountConversionError : public std::runtime_error {
public:
    explicit AmountConversionError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}

    QString message() const { return m_message; }

private:
    QString m_message;
};
