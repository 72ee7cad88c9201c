#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The updater's signature: a detached Ed25519 signature of the updater's
// bytes, made with the project's private key, which never leaves the
// project's keeping (scripts/sign-update). The program holds the public key
// and starts no updater whose signature it does not verify.
namespace UpdateSignature {

inline constexpr qsizetype kKeyBytes = 32;
inline constexpr qsizetype kSignatureBytes = 64;

// The project's public key, kKeyBytes raw bytes.
QByteArray projectKey();

// Whether signature is publicKey's signature of the whole file at path, a
// regular file of at most maxBytes. A file that cannot be read, a signature
// or a key of the wrong length verifies nothing.
bool verifiesFile(const QString &path, QByteArrayView signature, QByteArrayView publicKey, qint64 maxBytes);

} // namespace UpdateSignature
