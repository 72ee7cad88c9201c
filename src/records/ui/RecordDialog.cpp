#include "RecordDialog.h"

#include "DialogFrame.h"
#include "base/SingleLineValidator.h"
#include "base/ui/DialogParts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

RecordDialog::RecordDialog(const Record::Cells &titles, const QString &objectName, const QString &caption,
                           const QString &confirmCaption, const QSize &clientSize, QWidget *parent)
    : QDialog(parent)
{
    DialogFrame::setUp(*this, objectName, caption, clientSize, false);
    auto *validator = new SingleLineValidator(this);

    for (int c = 0; c < kColumnCount; ++c) {
        QRect box;
        if (c == 0)
            box = QRect(8, 0, 49, 41);
        else if (c == 1)
            box = QRect(64, 0, 337, 41);
        else
            box = QRect(8, 48 + 48 * (c - 2), 393, 41);
        auto *group = new QGroupBox(DialogFrame::plainCaption(titles[c]), this);
        group->setObjectName(QStringLiteral("columnGroup%1").arg(c));
        group->setGeometry(box);
        group->setFont(DialogFrame::smallFont());
        m_edits[c] = DialogFrame::singleLineEdit(group, QStringLiteral("columnEdit%1").arg(c),
                                                 QRect(8, 16, box.width() - 16, 21), validator);
    }

    m_confirmButton = DialogParts::button(this, QStringLiteral("confirmButton"), confirmCaption,
                                          QRect(216, 336, 91, 25));
    m_confirmButton->setDefault(true);
    m_cancelButton = DialogFrame::cancelButton(*this, QRect(312, 336, 83, 25));
    DialogFrame::orderTabs(m_edits, m_confirmButton, m_cancelButton);
}

void RecordDialog::setCells(const Record &record)
{
    for (int c = 0; c < kColumnCount; ++c)
        m_edits[c]->setText(record.cell(c).toString());
}

Record::Cells RecordDialog::cells() const
{
    return DialogFrame::texts(m_edits);
}
