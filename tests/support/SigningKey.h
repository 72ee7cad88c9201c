#pragma once

#include <QByteArray>

// A throw-away Ed25519 key pair, made afresh for a test, that signs files as
// the project's key signs the updater.
class SigningKey
{
public:
    SigningKey();

    const QByteArray &publicKey() const { return m_public; }
    // The detached signature of message.
    QByteArray sign(const QByteArray &message) const;

private:
    QByteArray m_public;
    QByteArray m_secret;
};
