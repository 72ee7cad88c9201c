#include "DialogFrame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <limits>

namespace DialogFrame {

QFont verdana(int points)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(points * 96 / 72);
    return font;
}

void fix(QDialog &dialog, const QSize &clientSize, bool minimiseBox)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    if (minimiseBox)
        flags |= Qt::WindowMinimizeButtonHint;
    dialog.setWindowFlags(flags);
    dialog.setFixedSize(clientSize);
    dialog.setFont(verdana(10));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

QLineEdit *singleLineEdit(QWidget *parent, const QString &name, const QRect &geometry, QValidator *validator)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setFont(verdana(8));
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setValidator(validator);
    return edit;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    return b;
}

QString plainCaption(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace DialogFrame
