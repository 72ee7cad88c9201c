#include "DialogFrame.h"

#include "base/ui/DialogParts.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace DialogFrame {

QFont smallFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    return font;
}

void setUp(QDialog &dialog, const QString &objectName, const QString &caption, const QSize &clientSize,
           bool minimiseBox)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    if (minimiseBox)
        flags |= Qt::WindowMinimizeButtonHint;
    dialog.setWindowFlags(flags);
    DialogParts::setUpDialog(dialog, objectName, caption, clientSize);
    DialogParts::centreOnDesktop(dialog);
}

QLineEdit *singleLineEdit(QWidget *parent, const QString &name, const QRect &geometry, QValidator *validator)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setFont(smallFont());
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setValidator(validator);
    return edit;
}

void orderTabs(const EditBoxes &edits, QPushButton *confirm, QPushButton *cancel)
{
    for (int c = 1; c < kColumnCount; ++c)
        QWidget::setTabOrder(edits[c - 1], edits[c]);
    QWidget::setTabOrder(edits[kColumnCount - 1], confirm);
    QWidget::setTabOrder(confirm, cancel);
    edits[0]->setFocus();
}

Record::Cells texts(const EditBoxes &edits)
{
    Record::Cells out;
    for (int c = 0; c < kColumnCount; ++c)
        out[c] = edits[c]->text();
    return out;
}

QPushButton *cancelButton(QDialog &dialog, const QRect &geometry)
{
    QPushButton *cancel = DialogParts::button(&dialog, QStringLiteral("cancelButton"), QStringLiteral("Отмена"),
                                              geometry);
    cancel->setAutoDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return cancel;
}

QString plainCaption(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace DialogFrame
