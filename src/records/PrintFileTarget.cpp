#include "PrintFileTarget.h"

#include "base/TabloraError.h"

#include <QIODevice>

// Gathers the job's many small writes into large pieces for the new file.
class PrintFileTarget::Sink : public QIODevice
{
public:
    explicit Sink(SafeWrite::Replacement &replacement)
        : m_replacement(replacement)
    {
        m_piece.reserve(kPiece);
        open(QIODevice::WriteOnly);
    }

    bool isSequential() const override { return true; }

    // False once the new file takes no more.
    bool flushPiece()
    {
        const bool taken = m_replacement.append(m_piece);
        m_piece.clear();
        return taken;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_replacement.failure())
            return -1;
        m_piece.append(data, size);
        if (m_piece.size() >= kPiece && !flushPiece())
            return -1;
        return size;
    }

private:
    static constexpr qsizetype kPiece = qsizetype(1) << 20;

    SafeWrite::Replacement &m_replacement;
    QByteArray m_piece;
};

QString PrintFileTarget::failureMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Не удалось напечатать базу данных в файл %1: %2")
        .arg(SafeWrite::nativeFullPath(fileName), reason);
}

PrintFileTarget::PrintFileTarget(const QString &fileName)
    : m_fileName(fileName)
    , m_replacement(fileName)
    , m_sink(std::make_unique<Sink>(m_replacement))
{
    throwIfFailed();
}

PrintFileTarget::~PrintFileTarget() = default;

QIODevice &PrintFileTarget::device()
{
    return *m_sink;
}

void PrintFileTarget::throwIfFailed() const
{
    if (const std::optional<QString> &failure = m_replacement.failure())
        throw TabloraError(failureMessage(m_fileName, *failure));
}

void PrintFileTarget::commit()
{
    m_sink->flushPiece();
    throwIfFailed();
    if (const std::optional<QString> failure = m_replacement.commit())
        throw TabloraError(failureMessage(m_fileName, *failure));
}
