#include "TAboutForm.h"

#include "base/AppInfo.h"
#include "base/DesktopServices.h"
#include "users/DialogParts.h"

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

TAboutForm::TAboutForm(DesktopServices &desktop, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе..."));
    setFixedSize(320, 240);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 320, 240);
    Image1->setPixmap(picture());

    addLabel("Label1", QStringLiteral("Система Управления БД"), {24, 64}, 16, Style::Bold);
    addLabel("Label4", QStringLiteral("Версия: 1.5.0.0"), {48, 120}, 13, Style::Bold);
    addLabel("Label7", QStringLiteral("Автор: команда Tablora"), {48, 144}, 13, Style::Bold);
    addLabel("Label6", QStringLiteral("Сайт:"), {48, 168}, 13, Style::Bold);
    Label3 = addLabel("Label3", AppInfo::kSiteHost, {120, 168}, 13, Style::Link);
    addLabel("Label8", QStringLiteral("E-mail:"), {48, 192}, 13, Style::Bold);
    Label11 = addLabel("Label11", AppInfo::kAuthorMail, {120, 192}, 13, Style::Link);
    const QString notice = QStringLiteral("© 2026 команда Tablora. Все права защищены.");
    addLabel("Label9", notice, {48, 219}, 10, Style::Plain);

    DialogParts::centreOnDesktop(*this);
}

QLabel *TAboutForm::addLabel(const char *name, const QString &text, QPoint at, int pixelSize, Style style)
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

void TAboutForm::mousePressEvent(QMouseEvent *event)
{
    event->accept(); // the release that follows completes the click
}

void TAboutForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QWidget *target = childAt(event->position().toPoint());
    if (target == Label3)
        Label3Click();
    else if (target == Label11)
        Label11Click();
    else
        reject(); // the picture and every other label close the box
}

void TAboutForm::Label3Click()
{
    m_desktop.shellOpen(AppInfo::siteAddress(QLatin1StringView("/")));
}

void TAboutForm::Label11Click()
{
    m_desktop.shellOpen(AppInfo::authorMailLink());
}
