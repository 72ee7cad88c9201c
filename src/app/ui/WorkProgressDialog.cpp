#include "WorkProgressDialog.h"

#include "base/WorkProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

WorkProgressDialog::WorkProgressDialog(const QString &text, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_textLabel(new QLabel(text, this))
    , m_progressBar(new QProgressBar(this))
    , m_cancelButton(new QPushButton(QStringLiteral("Отмена"), this))
{
    setObjectName(QStringLiteral("WorkProgressDialog"));
    setWindowTitle(QApplication::applicationDisplayName());
    setWindowModality(Qt::ApplicationModal);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setRange(0, WorkProgress::kScale);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    m_progressBar->setMinimumWidth(320);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &WorkProgressDialog::onCancelClicked);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textLabel);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void WorkProgressDialog::setValue(int value)
{
    m_progressBar->setValue(value);
}

void WorkProgressDialog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    onCancelClicked();
}

void WorkProgressDialog::reject()
{
    onCancelClicked();
}

void WorkProgressDialog::onCancelClicked()
{
    if (!m_cancelButton->isEnabled())
        return;
    m_cancelButton->setEnabled(false);
    emit stopRequested();
}
