#include "TUpdateForm.h"

#include "UpdateServer.h"
#include "UpdateVersionFile.h"
#include "base/AppInfo.h"
#include "base/ErrorReporter.h"
#include "users/DialogParts.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <climits>

namespace {

int clamped(qint64 value)
{
    return int(std::clamp<qint64>(value, 0, INT_MAX));
}

} // namespace

TUpdateForm::TUpdateForm(DesktopServices &desktop, ErrorReporter &errors, const ProgramDir &dir,
                         std::function<bool()> mayStartUpdater, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_desktop(desktop)
    , m_errors(errors)
    , m_dir(dir)
    , m_mayStartUpdater(std::move(mayStartUpdater))
{
    DialogParts::setUpDialog(*this, QStringLiteral("UpdateForm"), AppInfo::kTitle + QStringLiteral(" [Обновление]"),
                           {488, 177});
    QFont small(QStringLiteral("Verdana"));
    small.setPointSize(8);

    GroupBox1 = new QGroupBox(QStringLiteral("Загрузка файлов"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 473, 73);
    ProgressBar1 = new QProgressBar(GroupBox1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 24, 441, 17);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    Label2 = new QLabel(QStringLiteral("<a href=\"#\" style=\"color: blue\">Посетить страницу обновлений</a>"),
                        GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(small);
    Label2->setTextFormat(Qt::RichText);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->adjustSize();
    Label2->move(457 - Label2->width(), 48);
    Label2->hide();

    GroupBox2 = new QGroupBox(QStringLiteral("Статус обновления"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 88, 473, 49);
    Label1 = new QLabel(QStringLiteral("Жду старта..."), GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(small);
    Label1->setGeometry(16, 22, 441, 17);

    BitBtn1 = DialogParts::button(this, QStringLiteral("BitBtn1"), QStringLiteral("Проверить"), {8, 144, 105, 25});
    BitBtn4 = DialogParts::button(this, QStringLiteral("BitBtn4"), QStringLiteral("Загрузить"), {120, 144, 99, 25});
    BitBtn4->hide();
    BitBtn2 = DialogParts::button(this, QStringLiteral("BitBtn2"), QStringLiteral("Отмена"), {312, 144, 83, 25});
    BitBtn3 = DialogParts::button(this, QStringLiteral("BitBtn3"), QStringLiteral("Помощь"), {400, 144, 83, 25});
    DialogParts::onClick(BitBtn1, m_errors, [this] { BitBtn1Click(); });
    DialogParts::onClick(BitBtn4, m_errors, [this] { BitBtn4Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject); // Esc as well
    DialogParts::onClick(BitBtn3, m_errors, [this] { BitBtn3Click(); });
    connect(Label2, &QLabel::linkActivated, this, [this] { m_errors.run([this] { Label2Click(); }); });

    DialogParts::centreOnDesktop(*this);
    m_errors.run([this] { FormCreate(); });
}

TUpdateForm::~TUpdateForm() = default;

void TUpdateForm::FormCreate()
{
    if (m_desktop.isOffline())
        Label1->setText(QStringLiteral("Вы не подключены к сети. Проверьте подключение перед обновлением!"));
}

void TUpdateForm::done(int result)
{
    m_closed = true;
    m_transfer.reset();
    QDialog::done(result);
}

void TUpdateForm::BitBtn1Click()
{
    download(UpdateServer::versionFileAddress(), UpdateServer::versionFilePath(m_dir), [this] { compareVersions(); });
}

void TUpdateForm::BitBtn4Click()
{
    download(UpdateServer::updaterAddress(), UpdateServer::updaterPath(m_dir), [this] { startUpdater(); });
}

void TUpdateForm::BitBtn3Click()
{
    m_desktop.shellOpen(m_dir.helpFile());
}

void TUpdateForm::Label2Click()
{
    m_desktop.shellOpen(UpdateServer::updatePageAddress().toString());
}

void TUpdateForm::DownLoadURL1DownloadProgress(qint64 received, qint64 total)
{
    if (ProgressBar1->value() == 0)
        Label1->setText(QStringLiteral("Загрузка..."));
    if (total > 0) {
        ProgressBar1->setMaximum(clamped(total));
        ProgressBar1->setValue(clamped(received));
    } else if (total < 0) {
        ProgressBar1->setRange(0, 0); // size unknown: the bar shows that something moves
    }
}

void TUpdateForm::download(const QUrl &url, const QString &path, std::function<void()> then)
{
    if (m_busy)
        return;
    setBusy(true);
    showStatus(QStringLiteral("Попытка соединения с сервером ") + UpdateServer::host() + QStringLiteral("..."));
    if (m_closed)
        return setBusy(false);
    m_transfer = m_desktop.download(
        url, path, [this](qint64 received, qint64 total) { DownLoadURL1DownloadProgress(received, total); },
        [this, then = std::move(then)](const std::optional<QString> &failure) {
            m_transfer.reset();
            if (ProgressBar1->maximum() == 0) { // the transfer's size was unknown
                ProgressBar1->setMaximum(1);
                ProgressBar1->setValue(failure ? 0 : 1);
            }
            m_errors.run([&] { failure ? showFailure() : then(); });
            setBusy(false);
        });
}

void TUpdateForm::setBusy(bool busy)
{
    m_busy = busy;
    BitBtn1->setEnabled(!busy);
    BitBtn4->setEnabled(!busy);
}

void TUpdateForm::compareVersions()
{
    showStatus(QStringLiteral("Информация о новой версии загружена"));
    m_desktop.sleep(200);
    showStatus(QStringLiteral("Сравнивание версий"));
    QFile file(UpdateServer::versionFilePath(m_dir));
    const std::optional<UpdateVersionFile::Newest> newest
        = file.open(QIODevice::ReadOnly) ? UpdateVersionFile::read(file.readAll()) : std::nullopt;
    if (!newest)
        return showFailure();
    if (UpdateVersionFile::isNewer(*newest)) {
        showStatus(QStringLiteral("Доступна новая версия: ") + newest->version);
        BitBtn4->show();
    } else {
        showStatus(QStringLiteral("У Вас самая свежая версия программы"));
    }
    ProgressBar1->setValue(0);
}

void TUpdateForm::startUpdater()
{
    showStatus(QStringLiteral("Загрузка завершена"));
    m_desktop.sleep(500);
    // Starting the updater ends the program: a modified table is offered
    // for saving first, and the user may still decide to stay.
    if (m_closed || !m_mayStartUpdater())
        return;
    showStatus(QStringLiteral("Обновление программы..."));
    m_desktop.sleep(200);
    if (m_closed)
        return;
    m_desktop.shellOpen(UpdateServer::updaterPath(m_dir));
    m_desktop.terminate();
    accept();
}

void TUpdateForm::showStatus(const QString &text)
{
    Label1->setText(text);
    m_desktop.processEvents();
}

void TUpdateForm::showFailure()
{
    showStatus(QStringLiteral("Ошибка обновления"));
    Label2->show();
}
