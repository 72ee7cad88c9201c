#include "AboutDialog.h"

#include "base/AppInfo.h"
#include "base/DesktopServices.h"
#include "base/ui/DialogParts.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kInk(22, 78, 99);
const QColor kAccent(0, 137, 123);

// A stack of three discs, the usual sign of a database.
void drawDatabase(QPainter &p, QRectF box)
{
    const qreal discHeight = box.height() / 5;
    for (int level = 2; level >= 0; --level) {
        const QRectF body(box.left(), box.top() + level * discHeight * 1.3, box.width(), discHeight * 1.6);
        QLinearGradient side(body.topLeft(), body.topRight());
        side.setColorAt(0, kAccent.darker(120));
        side.setColorAt(0.5, kAccent.lighter(130));
        side.setColorAt(1, kAccent.darker(140));
        QPainterPath shape;
        shape.moveTo(body.left(), body.top() + discHeight / 2);
        shape.lineTo(body.left(), body.bottom() - discHeight / 2);
        shape.arcTo(QRectF(body.left(), body.bottom() - discHeight, body.width(), discHeight), 180, 180);
        shape.lineTo(body.right(), body.top() + discHeight / 2);
        shape.arcTo(QRectF(body.left(), body.top(), body.width(), discHeight), 0, -180);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(side);
        p.drawPath(shape);
        p.setBrush(kAccent.lighter(170));
        p.drawEllipse(QRectF(body.left(), body.top(), body.width(), discHeight));
    }
}

QPixmap picture()
{
    QPixmap pixmap(320, 240);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(224, 242, 241));
    sky.setColorAt(0.55, Qt::white);
    sky.setColorAt(1, QColor(236, 239, 241));
    p.fillRect(pixmap.rect(), sky);

    QFont brand(QStringLiteral("DejaVu Serif"));
    brand.setPixelSize(30);
    brand.setBold(true);
    p.setFont(brand);
    p.setPen(kInk);
    p.drawText(QRect(24, 14, 200, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tablora"));
    p.setPen(QPen(kAccent, 3));
    p.drawLine(24, 56, 170, 56);
    drawDatabase(p, QRectF(252, 10, 52, 50));

    p.setPen(QPen(kAccent.lighter(150), 1));
    p.drawLine(24, 106, 296, 106);
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(DesktopServices &desktop, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("О программе..."));
    setFixedSize(320, 240);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setGeometry(0, 0, 320, 240);
    m_picture->setPixmap(picture());

    addLabel("titleLabel", QStringLiteral("Система Управления БД"), {24, 64}, 16, Style::Bold);
    addLabel("versionLabel", QStringLiteral("Версия: 1.5.0.0"), {48, 120}, 13, Style::Bold);
    addLabel("authorLabel", QStringLiteral("Автор: команда Tablora"), {48, 144}, 13, Style::Bold);
    addLabel("siteCaption", QStringLiteral("Сайт:"), {48, 168}, 13, Style::Bold);
    m_siteLink = addLabel("siteLink", AppInfo::kSiteHost, {120, 168}, 13, Style::Link);
    addLabel("mailCaption", QStringLiteral("E-mail:"), {48, 192}, 13, Style::Bold);
    m_mailLink = addLabel("mailLink", AppInfo::kAuthorMail, {120, 192}, 13, Style::Link);
    const QString notice = QStringLiteral("© 2026 команда Tablora. Все права защищены.");
    addLabel("copyrightLabel", notice, {48, 219}, 10, Style::Plain);

    DialogParts::centreOnDesktop(*this);
}

QLabel *AboutDialog::addLabel(const char *name, const QString &text, QPoint at, int pixelSize, Style style)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Microsoft Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(style != Style::Plain);
    font.setUnderline(style == Style::Link);
    label->setFont(font);
    if (style == Style::Link) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(blue);
        label->setCursor(Qt::PointingHandCursor);
    }
    label->move(at);
    label->adjustSize();
    return label;
}

void AboutDialog::mousePressEvent(QMouseEvent *event)
{
    event->accept(); // the release that follows completes the click
}

void AboutDialog::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QWidget *target = childAt(event->position().toPoint());
    if (target == m_siteLink)
        onSiteClicked();
    else if (target == m_mailLink)
        onMailClicked();
    else
        reject(); // the picture and every other label close the box
}

void AboutDialog::onSiteClicked()
{
    m_desktop.shellOpen(AppInfo::siteAddress(QLatin1StringView("/")));
}

void AboutDialog::onMailClicked()
{
    m_desktop.shellOpen(AppInfo::authorMailLink());
}
