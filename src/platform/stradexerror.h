#pragma once

#include <QString>

#include <stdexcept>

// An error raised by a failing operation; its text is what the user is shown.
class StradexError : public std::runtime_error
{
public:
    explicit StradexError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};
