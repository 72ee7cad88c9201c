#include "ColumnTitlesDialog.h"

#include "DialogFrame.h"
#include "base/SingleLineValidator.h"
#include "base/ui/DialogParts.h"
#include "records/RecordCommands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ColumnTitlesDialog::ColumnTitlesDialog(RecordCommands &commands, ErrorReporter &errors, QWidget *parent)
    : QDialog(parent)
    , m_commands(commands)
    , m_table(commands.tableNumber())
{
    DialogFrame::setUp(*this, QStringLiteral("ColumnTitlesDialog"), QStringLiteral("Tablora 1.5 [Столбцы]"),
                       QSize(383, 241), true);
    auto *validator = new SingleLineValidator(this);
    const Record::Cells current = commands.titles();

    for (int c = 0; c < kColumnCount; ++c) {
        const QString text = c == 0 ? QStringLiteral("Дополнит.:") : QStringLiteral("%1 столбец:").arg(c);
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("columnLabel%1").arg(c));
        label->setFont(DialogFrame::smallFont());
        label->move(8, c == 0 ? 16 : 40 + 24 * (c - 1));
    }
    for (int c = 0; c < kColumnCount; ++c) {
        const QRect geometry = c == 0 ? QRect(88, 8, 289, 21) : QRect(88, 32 + 24 * (c - 1), 289, 21);
        m_edits[c] = DialogFrame::singleLineEdit(this, QStringLiteral("columnEdit%1").arg(c), geometry, validator);
        m_edits[c]->setText(current[c]);
    }

    m_okButton = DialogParts::button(this, QStringLiteral("okButton"), QStringLiteral("OK"), QRect(216, 208, 75, 25));
    m_okButton->setDefault(true);
    m_cancelButton = DialogFrame::cancelButton(*this, QRect(296, 208, 81, 25));
    DialogFrame::orderTabs(m_edits, m_okButton, m_cancelButton);

    DialogParts::onClick(m_okButton, errors, [this] { onApplyTitlesClicked(); });
}

Record::Cells ColumnTitlesDialog::titles() const
{
    return DialogFrame::texts(m_edits);
}

void ColumnTitlesDialog::onApplyTitlesClicked()
{
    if (m_commands.setTitles(titles(), m_table))
        accept();
}
