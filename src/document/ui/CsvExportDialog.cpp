#include "CsvExportDialog.h"

#include "base/ui/DialogParts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton *delimiterButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

CsvExportDialog::CsvExportDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CsvExportDialog"));
    setWindowTitle(QStringLiteral("Tablora 1.5 [Экспорт в CSV]"));

    auto *delimiters = new QGroupBox(QStringLiteral("Разделитель"), this);
    m_commaButton = delimiterButton(delimiters, QStringLiteral("commaButton"), QStringLiteral("Запятая ( , )"));
    m_semicolonButton = delimiterButton(delimiters, QStringLiteral("semicolonButton"),
                                        QStringLiteral("Точка с запятой ( ; )"));
    m_tabButton = delimiterButton(delimiters, QStringLiteral("tabButton"), QStringLiteral("Табуляция"));
    auto *delimiterLayout = new QVBoxLayout(delimiters);
    for (QRadioButton *button : {m_commaButton, m_semicolonButton, m_tabButton})
        delimiterLayout->addWidget(button);
    connect(m_commaButton, &QRadioButton::clicked, this, [this] { onDelimiterChosen(','); });
    connect(m_semicolonButton, &QRadioButton::clicked, this, [this] { onDelimiterChosen(';'); });
    connect(m_tabButton, &QRadioButton::clicked, this, [this] { onDelimiterChosen('\t'); });

    m_byteOrderMarkBox = new QCheckBox(QStringLiteral("Метка UTF-8 в начале файла (для Excel)"), this);
    m_byteOrderMarkBox->setObjectName(QStringLiteral("byteOrderMarkBox"));
    m_protectFormulasBox = new QCheckBox(QStringLiteral("Ячейки, начинающиеся с =, +, - или @, сохранять как текст"),
                                         this);
    m_protectFormulasBox->setObjectName(QStringLiteral("protectFormulasBox"));

    QDialogButtonBox *buttons = DialogParts::okCancelButtons(*this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(delimiters);
    layout->addWidget(m_byteOrderMarkBox);
    layout->addWidget(m_protectFormulasBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setOptions(CsvWriteOptions());
}

void CsvExportDialog::setOptions(const CsvWriteOptions &options)
{
    m_commaButton->setChecked(options.delimiter == ',');
    m_semicolonButton->setChecked(options.delimiter == ';');
    m_tabButton->setChecked(options.delimiter == '\t');
    m_byteOrderMarkBox->setChecked(options.byteOrderMark);
    m_protectFormulasBox->setChecked(options.protectFormulas);
}

CsvWriteOptions CsvExportDialog::options() const
{
    CsvWriteOptions options;
    options.delimiter = m_semicolonButton->isChecked() ? ';' : m_tabButton->isChecked() ? '\t' : ',';
    options.byteOrderMark = m_byteOrderMarkBox->isChecked();
    options.protectFormulas = m_protectFormulasBox->isChecked();
    return options;
}

void CsvExportDialog::onDelimiterChosen(char delimiter)
{
    m_byteOrderMarkBox->setChecked(delimiter == ';');
}
