#include "SplashWindow.h"

#include "base/AppInfo.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, QPoint at, bool bold = true)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
    l->move(at);
    l->adjustSize();
    return l;
}

} // namespace

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setWindowTitle(QStringLiteral("Загрузка..."));
    setFixedSize(320, 239);
    setWindowOpacity(245.0 / 255.0);

    QLabel *title = label(this, "titleLabel", QStringLiteral("СУБД версия 1.5"), {24, 64});
    QFont big = title->font();
    big.setPointSize(16);
    title->setFont(big);
    title->adjustSize();
    label(this, "authorLabel", QStringLiteral("Автор: команда Tablora, 2026"), {8, 200});
    QLabel *site = label(this, "siteLabel", QStringLiteral("http://") + AppInfo::kSiteHost, {8, 216}, false);
    site->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    m_statusLabel = label(this, "statusLabel", QStringLiteral("Загрузка..."), {224, 216});

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::setStatus(const QString &text)
{
    m_statusLabel->setText(text);
    m_statusLabel->adjustSize();
    m_statusLabel->repaint();
}

QString SplashWindow::status() const
{
    return m_statusLabel->text();
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    // The picture: a white card with a small table drawn in the corner.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    QLinearGradient band(0, 0, width(), 0);
    band.setColorAt(0, QColor(38, 84, 150));
    band.setColorAt(1, QColor(96, 160, 220));
    p.fillRect(QRect(0, 0, width(), 44), band);
    p.setPen(Qt::white);
    QFont brand = font();
    brand.setPointSize(18);
    brand.setBold(true);
    p.setFont(brand);
    p.drawText(QRect(12, 0, width() - 24, 44), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tablora"));

    // Below the line of the version label, which may run as far as the right
    // edge in a wide font.
    const QRect grid(212, 104, 92, 74);
    p.setPen(QPen(QColor(38, 84, 150), 2));
    p.setBrush(QColor(232, 240, 250));
    p.drawRoundedRect(grid, 6, 6);
    p.fillRect(QRect(grid.left() + 1, grid.top() + 1, grid.width() - 1, 18), QColor(96, 160, 220));
    p.setPen(QPen(QColor(38, 84, 150), 1));
    for (int y = grid.top() + 19; y < grid.bottom(); y += 18)
        p.drawLine(grid.left(), y, grid.right(), y);
    p.drawLine(grid.left() + 22, grid.top(), grid.left() + 22, grid.bottom());
    p.drawLine(grid.left() + 57, grid.top(), grid.left() + 57, grid.bottom());
    p.setPen(QPen(QColor(200, 200, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
