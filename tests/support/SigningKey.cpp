#include "SigningKey.h"

#include <sodium.h>

SigningKey::SigningKey()
    : m_public(crypto_sign_PUBLICKEYBYTES, '\0')
    , m_secret(crypto_sign_SECRETKEYBYTES, '\0')
{
    if (sodium_init() < 0)
        qFatal("libsodium cannot start");
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(m_public.data()),
                        reinterpret_cast<unsigned char *>(m_secret.data()));
}

QByteArray SigningKey::sign(const QByteArray &message) const
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()),
                         reinterpret_cast<const unsigned char *>(m_secret.constData()));
    return signature;
}
