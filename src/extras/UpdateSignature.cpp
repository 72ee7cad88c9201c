#include "UpdateSignature.h"

#include "base/FileDescriptor.h"

#include <QFile>

#include <fcntl.h>
#include <sodium.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace UpdateSignature {

QByteArray projectKey()
{
    // The public half of the key scripts/sign-update signs with (README.md,
    // "Program update").
    return QByteArray::fromHex("a34b464dea4b0f6610e52ea90d8f3777c9841c5879cd8f53cf89b3ec46ca4c8b");
}

bool verifiesFile(const QString &path, QByteArrayView signature, QByteArrayView publicKey, qint64 maxBytes)
{
    if (signature.size() != kSignatureBytes || publicKey.size() != kKeyBytes || sodium_init() < 0)
        return false;
    const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat status
    {};
    if (!fd.isOpen() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes)
        return false;
    const auto *sig = reinterpret_cast<const unsigned char *>(signature.data());
    const auto *key = reinterpret_cast<const unsigned char *>(publicKey.data());
    const size_t size = size_t(status.st_size);
    if (size == 0)
        return crypto_sign_verify_detached(sig, nullptr, 0, key) == 0;
    // Mapped, not read: an updater may be hundreds of megabytes, and Ed25519
    // needs the whole message at once.
    void *bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (bytes == MAP_FAILED)
        return false;
    const bool verified = crypto_sign_verify_detached(sig, static_cast<const unsigned char *>(bytes), size, key) == 0;
    ::munmap(bytes, size);
    return verified;
}

} // namespace UpdateSignature
