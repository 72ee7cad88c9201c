#include "RecoveryCopy.h"

#include "Document.h"
#include "PlainListWriter.h"
#include "base/DesktopServices.h"
#include "base/SafeWrite.h"
#include "base/WorkPool.h"

#include <QDir>
#include <QUuid>

#include <exception>
#include <memory>
#include <utility>

namespace {

SafeWrite::Options ownerOnly()
{
    SafeWrite::Options options;
    options.followLinks = false;
    options.permissions = 0600;
    return options;
}

// The worker's part: the description first, then the copy, so that a copy
// never stands without the description that says whose it is.
std::optional<QString> writeFiles(const RecoveryFolder &folder, const QString &id, const QByteArray &description,
                                  const TableData &table)
{
    try {
        if (auto refusal = folder.make())
            return refusal;
        if (auto failure = SafeWrite::replaceFile(folder.descriptionPath(id), description, ownerOnly()))
            return failure;
        // One part: the copy is background work and leaves the other
        // processor to the window.
        const PlainListWriter writer(table, 1);
        return SafeWrite::replaceFile(
            folder.copyPath(id), writer.encodedSize(), [&writer](int fd) { return writer.write(fd); }, ownerOnly());
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
}

} // namespace

RecoveryCopy::RecoveryCopy(Document &document, const ProgramDir &dir, DesktopServices &desktop, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_desktop(desktop)
    , m_folder(dir)
    , m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kInterval);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::writeNow);
    connect(&m_write, &QFutureWatcherBase::finished, this, &RecoveryCopy::finishWrite);

    const TableModel *model = &document.model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &RecoveryCopy::onTableChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RecoveryCopy::onTableChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &RecoveryCopy::onTableChanged);
    connect(model, &QAbstractItemModel::modelReset, this, &RecoveryCopy::onTableChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &RecoveryCopy::onTableChanged);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &RecoveryCopy::onTableChanged);
    connect(model, &TableModel::columnWidthChanged, this, &RecoveryCopy::onTableChanged);
    document.setModifiedListener([this](bool modified) {
        if (!modified)
            discard();
    });
}

RecoveryCopy::~RecoveryCopy()
{
    m_document.setModifiedListener(nullptr);
    m_write.waitForFinished();
    if (m_removeWhenDone)
        removeFiles();
}

void RecoveryCopy::onTableChanged()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void RecoveryCopy::writeNow()
{
    m_timer.stop();
    if (!m_document.isModified())
        return;
    if (m_writing) {
        m_again = true;
        m_removeWhenDone = false;
        return;
    }
    RecoveryDescription description;
    description.fileName = m_document.fileName();
    description.time = m_desktop.now();
    description.user = m_document.role();
    description.process = ProcessIdentity::current();
    description.stamp = m_document.diskStamp();
    m_writing = true;
    m_onDisk = true;
    m_write.setFuture(
        WorkPool::start([folder = m_folder, id = m_id, text = description.toJson(),
                         table = std::make_shared<TableData>(m_document.model().table().sharedCopy())]() mutable {
            std::optional<QString> failure = writeFiles(folder, id, text, *table);
            table.reset(); // the snapshot is freed here, off the window's thread
            return failure;
        }));
}

void RecoveryCopy::finishWrite()
{
    if (!m_writing)
        return; // handled already
    m_writing = false;
    m_write.waitForFinished();
    if (m_removeWhenDone) {
        m_removeWhenDone = false;
        removeFiles();
        return;
    }
    if (const std::optional<QString> failure = m_write.result())
        emit failed(*failure);
    else
        emit written();
    if (std::exchange(m_again, false))
        writeNow();
}

void RecoveryCopy::discard()
{
    m_timer.stop();
    m_again = false;
    if (m_writing) {
        m_removeWhenDone = true;
        return;
    }
    removeFiles();
}

void RecoveryCopy::removeFiles()
{
    if (!std::exchange(m_onDisk, false))
        return;
    SafeWrite::removeFile(copyPath());
    SafeWrite::removeFile(descriptionPath());
}

void RecoveryCopy::adopt(const RecoveryFolder::Entry &entry)
{
    if (!entry.description)
        return;
    RecoveryDescription description = *entry.description;
    description.process = ProcessIdentity::current();
    if (m_folder.make() || SafeWrite::replaceFile(descriptionPath(), description.toJson(), ownerOnly()))
        return;
    m_onDisk = true;
    if (QDir().rename(m_folder.copyPath(entry.id), copyPath()))
        SafeWrite::removeFile(m_folder.descriptionPath(entry.id));
}
