#include "CsvImportDialog.h"

#include "base/ui/DialogParts.h"
#include "document/CsvReader.h"
#include "document/DocumentTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

CsvImportDialog::CsvImportDialog(QByteArrayView text, const QString &fileName, QWidget *parent)
    : QDialog(parent)
    , m_text(text)
{
    setObjectName(QStringLiteral("CsvImportDialog"));
    setWindowTitle(QStringLiteral("Tablora 1.5 [Импорт из CSV]"));

    auto *fileLabel = new QLabel(QStringLiteral("Файл: ") + DocumentTexts::filePart(fileName), this);
    fileLabel->setObjectName(QStringLiteral("fileLabel"));

    m_delimiterBox = new QComboBox(this);
    m_delimiterBox->setObjectName(QStringLiteral("delimiterBox"));
    m_delimiterBox->addItem(QStringLiteral("Запятая ( , )"), QChar(u','));
    m_delimiterBox->addItem(QStringLiteral("Точка с запятой ( ; )"), QChar(u';'));
    m_delimiterBox->addItem(QStringLiteral("Табуляция"), QChar(u'\t'));
    m_encodingBox = new QComboBox(this);
    m_encodingBox->setObjectName(QStringLiteral("encodingBox"));
    m_encodingBox->addItem(QStringLiteral("UTF-8"), int(TextEncoding::Utf8));
    m_encodingBox->addItem(QStringLiteral("Windows-1251"), int(TextEncoding::Windows1251));
    auto *choices = new QFormLayout;
    choices->addRow(QStringLiteral("Разделитель:"), m_delimiterBox);
    choices->addRow(QStringLiteral("Кодировка:"), m_encodingBox);

    m_titlesBox = new QCheckBox(QStringLiteral("Первая строка — заголовки столбцов"), this);
    m_titlesBox->setObjectName(QStringLiteral("titlesBox"));
    m_removeMarksBox = new QCheckBox(QStringLiteral("Убрать апостроф перед формулами (=, +, -, @)"), this);
    m_removeMarksBox->setObjectName(QStringLiteral("removeMarksBox"));

    m_previewTable = new QTableWidget(this);
    m_previewTable->setObjectName(QStringLiteral("previewTable"));
    m_previewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_previewTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_previewTable->verticalHeader()->setDefaultSectionSize(m_previewTable->fontMetrics().height() + 6);
    m_previewTable->setMinimumSize(640, 260);
    m_problemLabel = new QLabel(this);
    m_problemLabel->setObjectName(QStringLiteral("problemLabel"));
    m_problemLabel->setWordWrap(true);
    QPalette warning = m_problemLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    m_problemLabel->setPalette(warning);

    QDialogButtonBox *buttons = DialogParts::okCancelButtons(*this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel);
    layout->addLayout(choices);
    layout->addWidget(m_titlesBox);
    layout->addWidget(m_removeMarksBox);
    layout->addWidget(m_previewTable, 1);
    layout->addWidget(m_problemLabel);
    layout->addWidget(buttons);

    setOptions(CsvReadOptions());
    for (QComboBox *box : {m_delimiterBox, m_encodingBox})
        connect(box, &QComboBox::currentIndexChanged, this, &CsvImportDialog::showPreview);
    for (QCheckBox *box : {m_titlesBox, m_removeMarksBox})
        connect(box, &QCheckBox::toggled, this, &CsvImportDialog::showPreview);
}

void CsvImportDialog::setOptions(const CsvReadOptions &options)
{
    const QSignalBlocker delimiterBlocker(m_delimiterBox);
    const QSignalBlocker encodingBlocker(m_encodingBox);
    const QSignalBlocker titlesBlocker(m_titlesBox);
    const QSignalBlocker marksBlocker(m_removeMarksBox);
    m_delimiterBox->setCurrentIndex(std::max(0, m_delimiterBox->findData(QChar(options.delimiter))));
    m_encodingBox->setCurrentIndex(std::max(0, m_encodingBox->findData(int(options.encoding))));
    m_titlesBox->setChecked(options.titlesInFirstRow);
    m_removeMarksBox->setChecked(options.removeFormulaMarks);
    showPreview();
}

CsvReadOptions CsvImportDialog::options() const
{
    CsvReadOptions options;
    options.delimiter = char(m_delimiterBox->currentData().toChar().unicode());
    options.encoding = TextEncoding(m_encodingBox->currentData().toInt());
    options.titlesInFirstRow = m_titlesBox->isChecked();
    options.replaceBreaks = true;
    options.removeFormulaMarks = m_removeMarksBox->isChecked();
    return options;
}

void CsvImportDialog::showPreview()
{
    const CsvReadOptions chosen = options();
    const CsvReader::Preview preview = CsvReader(chosen).preview(m_text, kPreviewRows);
    m_previewTable->clear();
    m_previewTable->setRowCount(int(preview.rows.size()));
    m_previewTable->setColumnCount(kColumnCount);
    QStringList headers;
    for (int c = 0; c < kColumnCount; ++c)
        headers << QString::number(c + 1);
    m_previewTable->setHorizontalHeaderLabels(headers);
    QFont titleFont = m_previewTable->font();
    titleFont.setBold(true);
    for (int row = 0; row < preview.rows.size(); ++row) {
        const QStringList &cells = preview.rows[row];
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (row == 0 && chosen.titlesInFirstRow)
                item->setFont(titleFont);
            m_previewTable->setItem(row, c, item);
        }
    }
    m_problemLabel->setText(preview.problem ? preview.problem->message() : QString());
    m_problemLabel->setVisible(preview.problem.has_value());
    m_okButton->setEnabled(!preview.problem);
}
