#include "RecordForm.h"

#include "DialogFrame.h"
#include "SingleLineValidator.h"
#include "users/DialogParts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

RecordForm::RecordForm(const Record::Cells &titles, const QString &objectName, const QString &caption,
                       const QString &confirmCaption, const QSize &clientSize, QWidget *parent)
    : QDialog(parent)
{
    DialogFrame::setUp(*this, objectName, caption, clientSize, false);
    auto *validator = new SingleLineValidator(this);

    for (int c = 0; c < kColumnCount; ++c) {
        const int n = c + 1;
        QRect box;
        if (c == 0)
            box = QRect(8, 0, 49, 41);
        else if (c == 1)
            box = QRect(64, 0, 337, 41);
        else
            box = QRect(8, 48 + 48 * (n - 3), 393, 41);
        auto *group = new QGroupBox(DialogFrame::plainCaption(titles[c]), this);
        group->setObjectName(QStringLiteral("GroupBox%1").arg(n));
        group->setGeometry(box);
        group->setFont(DialogFrame::smallFont());
        m_edits[c] = DialogFrame::singleLineEdit(group, QStringLiteral("Edit%1").arg(n),
                                                 QRect(8, 16, box.width() - 16, 21), validator);
    }

    BitBtn1 = DialogParts::button(this, QStringLiteral("BitBtn1"), confirmCaption, QRect(216, 336, 91, 25));
    BitBtn1->setDefault(true);
    BitBtn2 = DialogFrame::cancelButton(*this, QRect(312, 336, 83, 25));
    DialogFrame::orderTabs(m_edits, BitBtn1, BitBtn2);
}

void RecordForm::setCells(const Record &record)
{
    for (int c = 0; c < kColumnCount; ++c)
        m_edits[c]->setText(record.cell(c).toString());
}

Record::Cells RecordForm::cells() const
{
    return DialogFrame::texts(m_edits);
}
