#include "TBaseForm.h"

#include "DialogFrame.h"
#include "RecordCommands.h"
#include "SingleLineValidator.h"
#include "users/DialogParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TBaseForm::TBaseForm(RecordCommands &commands, ErrorReporter &errors, QWidget *parent)
    : QDialog(parent)
    , m_commands(commands)
{
    DialogFrame::setUp(*this, QStringLiteral("BaseForm"), QStringLiteral("Tablora 1.5 [Столбцы]"), QSize(383, 241),
                       true);
    auto *validator = new SingleLineValidator(this);
    const Record::Cells current = commands.titles();

    for (int n = 3; n <= 10; ++n) {
        const QString text = n == 3 ? QStringLiteral("Дополнит.:") : QStringLiteral("%1 столбец:").arg(n - 3);
        auto *label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        label->setFont(DialogFrame::smallFont());
        label->move(8, n == 3 ? 16 : 40 + 24 * (n - 4));
    }
    for (int c = 0; c < kColumnCount; ++c) {
        const int n = c + 1;
        const QRect geometry = c == 0 ? QRect(88, 8, 289, 21) : QRect(88, 32 + 24 * (n - 2), 289, 21);
        m_edits[c] = DialogFrame::singleLineEdit(this, QStringLiteral("Edit%1").arg(n), geometry, validator);
        m_edits[c]->setText(current[c]);
    }

    BitBtn1 = DialogParts::button(this, QStringLiteral("BitBtn1"), QStringLiteral("OK"), QRect(216, 208, 75, 25));
    BitBtn1->setDefault(true);
    BitBtn2 = DialogFrame::cancelButton(*this, QRect(296, 208, 81, 25));
    DialogFrame::orderTabs(m_edits, BitBtn1, BitBtn2);

    DialogParts::onClick(BitBtn1, errors, [this] { BitBtn1Click(); });
}

Record::Cells TBaseForm::titles() const
{
    return DialogFrame::texts(m_edits);
}

void TBaseForm::BitBtn1Click()
{
    m_commands.setTitles(titles());
    accept();
}
