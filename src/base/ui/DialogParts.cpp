#include "DialogParts.h"

#include "WindowFrame.h"
#include "base/DesktopServices.h"
#include "base/ErrorReporter.h"
#include "base/ProfileFile.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace DialogParts {

void setUpDialog(QDialog &dialog, const QString &objectName, const QString &caption, QSize clientSize)
{
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(13);
    dialog.setFont(font);
    dialog.setFixedSize(clientSize);
}

void centreOnDesktop(QDialog &dialog)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is what the user sees centred: the window manager adds the
    // title bar above the client area, which alone would sit that much low.
    const QMargins frame = WindowFrame::expectedMargins(dialog);
    QRect outer = QRect(QPoint(), dialog.size()).marginsAdded(frame);
    outer.moveCenter(screen->availableGeometry().center());
    dialog.setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), dialog.size()));
}

QPushButton *button(QWidget *parent, const QString &objectName, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

void onClick(QPushButton *button, ErrorReporter &errors, std::function<void()> handler)
{
    QObject::connect(button, &QPushButton::clicked, button,
                     [&errors, handler = std::move(handler)] { errors.run(handler); });
}

bool refuseUnstorable(DesktopServices &desktop, const QString &caption, const QString &field, const QString &value)
{
    const QString reason = ProfileFile::unstorableReason(value);
    if (reason.isEmpty())
        return false;
    desktop.beep();
    desktop.showMessage(caption,
                        QStringLiteral("Значение поля «%1» нельзя сохранить в файле настроек: %2.").arg(field, reason),
                        DesktopServices::Icon::Information);
    return true;
}

QDialogButtonBox *okCancelButtons(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace DialogParts
