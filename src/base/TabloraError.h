#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A failure or refusal that ends the running command. It carries the Russian
// message the user sees; the application-wide handler logs and shows it.
class TabloraError : public std::exception
{
public:
    explicit TabloraError(QString message)
        : m_message(std::move(message))
        , m_what(m_message.toUtf8())
    {
    }

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};
