#pragma once

#include "records/RecordSearch.h"

#include <QToolBar>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TableModel;

// The find bar below the list: the text to find, "Учитывать регистр" (case
// ignored unless ticked) and "Только в столбце" with the table's current
// column titles (every column, the number cell included, unless ticked).
// Enter asks for the next match, Shift+Enter for the previous one; Esc
// closes the bar. It does not search: the window runs the find command with
// its query.
class FindBar : public QToolBar
{
    Q_OBJECT

public:
    explicit FindBar(const TableModel &model, QWidget *parent = nullptr);

    RecordSearch::Query query() const;

    // Shows the bar with its text selected, ready for typing.
    void open();

signals:
    void findRequested(RecordSearch::Direction direction);
    // Esc or the close button hid the bar.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillColumns();
    void closeBar();

    const TableModel &m_model;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_onlyColumn = nullptr;
    QComboBox *m_column = nullptr;
};
