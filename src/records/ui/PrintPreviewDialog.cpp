#include "PrintPreviewDialog.h"

#include "records/PageIndex.h"
#include "records/PagePainter.h"
#include "records/PrintFont.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Zoom entries: a factor of the real size on screen, or a fit.
constexpr double kFitWidth = -1;
constexpr double kFitPage = -2;

QToolButton *navigationButton(QWidget *parent, const char *name, const QString &icon, const QString &hint,
                              const QKeySequence &key)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon::fromTheme(icon));
    button->setToolTip(hint);
    button->setShortcut(key);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QString PrintPreviewDialog::caption()
{
    return QStringLiteral("Предварительный просмотр");
}

PrintPreviewDialog::PrintPreviewDialog(const TableData &table, const QFont &font, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("printPreviewDialog"));
    setWindowTitle(caption());
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    // The pages of the print command's printer before its dialog: the
    // default printer, its paper and margins.
    QPrinter printer(QPrinter::HighResolution);
    m_dpi = printer.logicalDpiY();
    m_paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    m_printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    m_font = QFont(font, &printer);
    m_printFont = std::make_unique<PrintFont>(m_font, m_dpi);
    m_index = std::make_unique<PageIndex>(table, m_font,
                                          PageIndex::Page{m_printable.width(), m_printable.height(), m_dpi});

    m_firstButton = navigationButton(this, "firstPageButton", QStringLiteral("go-first"),
                                     QStringLiteral("Первая страница"), QKeySequence(Qt::CTRL | Qt::Key_Home));
    m_previousButton = navigationButton(this, "previousPageButton", QStringLiteral("go-previous"),
                                        QStringLiteral("Предыдущая страница"), QKeySequence(Qt::Key_PageUp));
    m_nextButton = navigationButton(this, "nextPageButton", QStringLiteral("go-next"),
                                    QStringLiteral("Следующая страница"), QKeySequence(Qt::Key_PageDown));
    m_lastButton = navigationButton(this, "lastPageButton", QStringLiteral("go-last"),
                                    QStringLiteral("Последняя страница"), QKeySequence(Qt::CTRL | Qt::Key_End));
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("pageBox"));
    m_pageBox->setRange(1, 1);
    m_pageBox->setKeyboardTracking(false);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("pageCountLabel"));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    m_zoomBox->addItem(QStringLiteral("По ширине"), kFitWidth);
    m_zoomBox->addItem(QStringLiteral("Страница целиком"), kFitPage);
    for (int percent : {50, 75, 100, 150, 200, 300})
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(percent), percent / 100.0);
    m_indexLabel = new QLabel(this);
    m_indexLabel->setObjectName(QStringLiteral("indexLabel"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_firstButton);
    bar->addWidget(m_previousButton);
    bar->addWidget(new QLabel(QStringLiteral("Страница"), this));
    bar->addWidget(m_pageBox);
    bar->addWidget(m_countLabel);
    bar->addWidget(m_nextButton);
    bar->addWidget(m_lastButton);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(QStringLiteral("Масштаб:"), this));
    bar->addWidget(m_zoomBox);
    bar->addSpacing(16);
    bar->addWidget(m_indexLabel);
    bar->addStretch();

    m_sheet = new QLabel;
    m_sheet->setObjectName(QStringLiteral("pageSheet"));
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageArea"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_sheet);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *print = buttons->addButton(QStringLiteral("Печать..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("printButton"));
    print->setIcon(QIcon::fromTheme(QStringLiteral("document-print")));
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(buttons);

    connect(m_firstButton, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(m_previousButton, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_nextButton, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_lastButton, &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this, &PrintPreviewDialog::onZoomChosen);

    m_counting = new QFutureWatcher<void>(this);
    connect(m_counting, &QFutureWatcherBase::progressValueChanged, this, &PrintPreviewDialog::onCountProgress);
    connect(m_counting, &QFutureWatcherBase::finished, this, &PrintPreviewDialog::onCounted);

    // Sizes come in several steps while the window is laid out and shown;
    // the page is drawn again once they have settled.
    m_fitTimer = new QTimer(this);
    m_fitTimer->setSingleShot(true);
    m_fitTimer->setInterval(0);
    connect(m_fitTimer, &QTimer::timeout, this, [this] { showPage(m_page); });
    m_scroll->viewport()->installEventFilter(this);

    resize(820, 900);
    showPage(0);
    onCountProgress(0);
    m_counting->setFuture(m_index->counting());
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

int PrintPreviewDialog::pageCount() const
{
    return m_index->pageCount();
}

void PrintPreviewDialog::onCountProgress(int thousandths)
{
    m_indexLabel->setText(QStringLiteral("Подсчёт страниц: %1 %").arg(thousandths / 10));
    updateControls();
}

void PrintPreviewDialog::onCounted()
{
    m_indexLabel->hide();
    updateControls();
}

void PrintPreviewDialog::updateControls()
{
    const int count = pageCount();
    const QSignalBlocker blocker(m_pageBox);
    m_pageBox->setRange(1, count);
    m_pageBox->setValue(m_page + 1);
    m_countLabel->setText(m_index->complete() ? QStringLiteral("из %1").arg(count)
                                              : QStringLiteral("из %1…").arg(count));
    m_firstButton->setEnabled(m_page > 0);
    m_previousButton->setEnabled(m_page > 0);
    m_nextButton->setEnabled(m_page + 1 < count);
    m_lastButton->setEnabled(m_page + 1 < count || !m_index->complete());
}

void PrintPreviewDialog::showPage(int page)
{
    page = std::clamp(page, 0, pageCount() - 1);
    const bool turned = page != m_page;
    m_page = page;
    m_sheet->setPixmap(QPixmap::fromImage(drawPage(page)));
    m_sheet->resize(m_sheet->pixmap().size());
    if (turned)
        m_scroll->verticalScrollBar()->setValue(0);
    updateControls();
}

void PrintPreviewDialog::onZoomChosen()
{
    showPage(m_page);
}

bool PrintPreviewDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoomBox->currentData().toDouble() < 0)
        m_fitTimer->start();
    return QDialog::eventFilter(watched, event);
}

double PrintPreviewDialog::scale() const
{
    const double zoom = m_zoomBox->currentData().toDouble();
    const QSize room = m_scroll->viewport()->size() - QSize(24, 24);
    const double toWidth = double(std::max(room.width(), 50)) / m_paper.width();
    if (zoom == kFitWidth)
        return toWidth;
    if (zoom == kFitPage)
        return std::min(toWidth, double(std::max(room.height(), 50)) / m_paper.height());
    return zoom * logicalDpiX() / m_dpi;
}

QImage PrintPreviewDialog::drawPage(int page) const
{
    const double s = scale();
    QImage image(QSize(qCeil(m_paper.width() * s), qCeil(m_paper.height() * s)), QImage::Format_RGB32);
    // The image's resolution is the printer's, so that the print font takes
    // the size it has there; the painter scales it down to the screen.
    const int dotsPerMeter = qRound(m_dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    const std::optional<PrintedPage> laidOut = m_index->layOut(page, *m_printFont);
    if (!laidOut)
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(s, s);
    painter.translate(m_printable.topLeft() - m_paper.topLeft());
    painter.setFont(m_font);
    PagePainter(painter).draw(*laidOut);
    return image;
}
