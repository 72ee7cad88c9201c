#include "FindBar.h"

#include "DialogFrame.h"
#include "base/SingleLineValidator.h"
#include "document/TableModel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

FindBar::FindBar(const TableModel &model, QWidget *parent)
    : QToolBar(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("findBar"));
    setWindowTitle(QStringLiteral("Найти"));
    setMovable(false);
    setFloatable(false);
    toggleViewAction()->setVisible(false);
    setFont(DialogFrame::smallFont());

    addWidget(new QLabel(QStringLiteral("Найти: "), this));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setClearButtonEnabled(true);
    m_text->setValidator(new SingleLineValidator(m_text, SingleLineValidator::Ends::Dropped));
    m_text->setMinimumWidth(180);
    addWidget(m_text);

    const auto button = [this](QStyle::StandardPixmap pixmap, const QString &objectName, const QString &hint) {
        QAction *a = addAction(style()->standardIcon(pixmap), hint);
        a->setObjectName(objectName);
        return a;
    };
    connect(button(QStyle::SP_ArrowDown, QStringLiteral("findNextButton"), QStringLiteral("Найти далее (F3)")),
            &QAction::triggered, this, [this] { emit findRequested(RecordSearch::Direction::Forward); });
    connect(button(QStyle::SP_ArrowUp, QStringLiteral("findPreviousButton"), QStringLiteral("Найти ранее (Shift+F3)")),
            &QAction::triggered, this, [this] { emit findRequested(RecordSearch::Direction::Backward); });
    addSeparator();

    m_matchCase = new QCheckBox(QStringLiteral("Учитывать регистр"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCaseCheck"));
    addWidget(m_matchCase);
    m_onlyColumn = new QCheckBox(QStringLiteral("Только в столбце"), this);
    m_onlyColumn->setObjectName(QStringLiteral("onlyColumnCheck"));
    addWidget(m_onlyColumn);
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("columnCombo"));
    m_column->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_column->setEnabled(false);
    addWidget(m_column);
    connect(m_onlyColumn, &QCheckBox::toggled, m_column, &QWidget::setEnabled);
    fillColumns();
    connect(&model, &QAbstractItemModel::headerDataChanged, this, &FindBar::fillColumns);
    connect(&model, &QAbstractItemModel::modelReset, this, &FindBar::fillColumns);

    QWidget *gap = new QWidget(this);
    gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(gap);
    connect(button(QStyle::SP_TitleBarCloseButton, QStringLiteral("closeFindButton"), QStringLiteral("Закрыть")),
            &QAction::triggered, this, &FindBar::closeBar);

    m_text->installEventFilter(this);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit findRequested(key->modifiers() & Qt::ShiftModifier ? RecordSearch::Direction::Backward
                                                                    : RecordSearch::Direction::Forward);
            return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}

RecordSearch::Query FindBar::query() const
{
    return {m_text->text(), m_matchCase->isChecked(), m_onlyColumn->isChecked() ? m_column->currentIndex() : -1};
}

void FindBar::open()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::closeBar()
{
    hide();
    emit closed();
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        closeBar();
        return;
    }
    QToolBar::keyPressEvent(event);
}

void FindBar::fillColumns()
{
    const int chosen = std::max(0, m_column->currentIndex());
    m_column->clear();
    for (int c = 0; c < kColumnCount; ++c) {
        const QString &title = m_model.table().title(c);
        m_column->addItem(title.isEmpty() ? TableData::initialTitle(c) : title);
    }
    m_column->setCurrentIndex(chosen);
}
