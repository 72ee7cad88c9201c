#include "RecordCommands.h"

#include "ClearChange.h"
#include "ClipboardRecord.h"
#include "RecordAnchor.h"
#include "RecordHistory.h"
#include "RowChange.h"
#include "TitlesChange.h"
#include "base/DesktopServices.h"
#include "base/SettingKeys.h"
#include "base/SingleLineValidator.h"
#include "document/Document.h"
#include "document/DocumentView.h"
#include "users/Accounts.h"

#include <QItemSelectionModel>

namespace {

Record singleLineRecord(const Record::Cells &cells)
{
    Record::Cells clean;
    for (int c = 0; c < kColumnCount; ++c)
        clean[c] = SingleLineValidator::singleLine(cells[c]);
    return Record(clean);
}

} // namespace

RecordCommands::RecordCommands(Document &document, Settings &settings, DesktopServices &desktop, DocumentView &view,
                               QItemSelectionModel &selection, RecordHistory &history)
    : m_document(document)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_view(view)
    , m_selection(selection)
    , m_history(history)
{
}

QString RecordCommands::selectRecordMessage()
{
    return QStringLiteral("Выберите запись");
}

QString RecordCommands::recordGoneMessage()
{
    return QStringLiteral("Запись, открытая для изменения, удалена");
}

QString RecordCommands::tableReplacedMessage()
{
    return QStringLiteral("База данных, столбцы которой открыты для изменения, закрыта");
}

QString RecordCommands::selectRecordFirstMessage()
{
    return QStringLiteral("Выберите прежде запись!");
}

QString RecordCommands::notARecordMessage()
{
    return QStringLiteral("Содержимое буфер обмена не является записью Tablora");
}

QString RecordCommands::deleteQuestion()
{
    return QStringLiteral("Вы действительно хотите удалить запись?");
}

QString RecordCommands::clearQuestion()
{
    return QStringLiteral("Вы действительно хотите очистить всю базу?");
}

int RecordCommands::selectedRow() const
{
    const QModelIndexList rows = m_selection.selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

Record::Cells RecordCommands::titles() const
{
    Record::Cells out;
    for (int c = 0; c < kColumnCount; ++c)
        out[c] = m_document.model().table().title(c);
    return out;
}

void RecordCommands::tell(const QString &message)
{
    m_desktop.showMessage(m_view.applicationTitle(), message, DesktopServices::Icon::Information);
}

void RecordCommands::refuse(const QString &message)
{
    m_desktop.beep();
    tell(message);
}

int RecordCommands::selectedOrTell()
{
    const int row = selectedRow();
    if (row < 0)
        refuse(selectRecordMessage());
    return row;
}

const Record &RecordCommands::record(int row) const
{
    return m_document.model().table().record(row);
}

RecordAnchor *RecordCommands::anchorRecord(int row, QObject *owner)
{
    return new RecordAnchor(m_document.model(), m_history, row, owner);
}

quint64 RecordCommands::tableNumber() const
{
    return m_document.model().tableNumber();
}

void RecordCommands::requireEditRight() const
{
    Accounts::checkRights(m_settings, m_document.role(), Keys::pravaEditBase());
}

bool RecordCommands::confirm(const QString &question)
{
    return m_desktop.ask(QStringLiteral("Вопрос"), question, DesktopServices::Icon::Question,
                         DesktopServices::Buttons::YesNo)
        == DesktopServices::Answer::Yes;
}

void RecordCommands::insertAtEnd(const QString &name, Record record)
{
    const int row = m_document.model().recordCount();
    m_history.push(
        std::make_unique<RowChange>(m_document.model(), name, RowChange::Kind::Insert, row, std::move(record)));
}

void RecordCommands::removeRecord(const QString &name, int row)
{
    m_history.push(std::make_unique<RowChange>(m_document.model(), name, RowChange::Kind::Remove, row));
    m_selection.clearSelection();
}

void RecordCommands::beginAdd()
{
    requireEditRight();
}

void RecordCommands::beginColumns()
{
    requireEditRight();
}

std::optional<int> RecordCommands::beginEdit()
{
    const int row = selectedOrTell();
    if (row < 0)
        return std::nullopt;
    requireEditRight();
    return row;
}

std::optional<int> RecordCommands::beginView()
{
    const int row = selectedOrTell();
    if (row < 0)
        return std::nullopt;
    return row;
}

void RecordCommands::deleteRecord()
{
    const int row = selectedOrTell();
    if (row < 0)
        return;
    requireEditRight();
    m_desktop.beep();
    if (!confirm(deleteQuestion()))
        return;
    removeRecord(QStringLiteral("удаление записи"), row);
}

void RecordCommands::clearAll()
{
    requireEditRight();
    if (!confirm(clearQuestion()))
        return;
    m_history.push(std::make_unique<ClearChange>(m_document.model()));
}

void RecordCommands::copyRecord()
{
    const int row = selectedRow();
    if (row < 0) {
        tell(selectRecordFirstMessage());
        return;
    }
    m_desktop.setClipboardText(ClipboardRecord::text(m_document.model().table().record(row)));
}

void RecordCommands::cutRecord()
{
    const int row = selectedOrTell();
    if (row < 0)
        return;
    requireEditRight();
    m_desktop.setClipboardText(ClipboardRecord::text(m_document.model().table().record(row)));
    removeRecord(QStringLiteral("вырезание записи"), row);
}

void RecordCommands::pasteRecord()
{
    requireEditRight();
    std::optional<Record> record = ClipboardRecord::parse(m_desktop.clipboardText());
    if (!record) {
        tell(notARecordMessage());
        return;
    }
    insertAtEnd(QStringLiteral("вставку записи"), std::move(*record));
}

void RecordCommands::appendRecord(const Record::Cells &cells)
{
    requireEditRight();
    insertAtEnd(QStringLiteral("добавление записи"), singleLineRecord(cells));
}

bool RecordCommands::writeRecord(const RecordAnchor &anchor, const Record::Cells &cells)
{
    const int row = anchor.row();
    if (row < 0) {
        refuse(recordGoneMessage());
        return false;
    }
    requireEditRight();
    m_history.push(std::make_unique<RowChange>(m_document.model(), QStringLiteral("изменение записи"),
                                               RowChange::Kind::Replace, row, singleLineRecord(cells)));
    return true;
}

bool RecordCommands::setTitles(const Record::Cells &titles, quint64 table)
{
    if (table != tableNumber()) {
        refuse(tableReplacedMessage());
        return false;
    }
    requireEditRight();
    Record::Cells clean;
    for (int c = 0; c < kColumnCount; ++c)
        clean[c] = SingleLineValidator::singleLine(titles[c]);
    m_history.push(std::make_unique<TitlesChange>(m_document.model(), clean));
    return true;
}
