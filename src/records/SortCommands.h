#pragma once

class DesktopServices;
class RecordHistory;
class Settings;
class TableModel;

// The sort commands. The sort column and direction belong to the program, not
// to the database: they live only in config.ini ([Table] ColNum and Sort), and
// a sort reads them once when it starts. A sort goes into the history, so that
// it can be taken back.
class SortCommands
{
public:
    SortCommands(TableModel &model, Settings &settings, DesktopServices &desktop, RecordHistory &history);

    // Stores the sort column (0 the number cell, 1 to 7 the text cells).
    void chooseColumn(int column);
    // Stores the sort direction: 1 ascending, -1 descending.
    void chooseDirection(int factor);
    // Reorders the rows by the stored column and direction. Rows that compare
    // equal keep their order; sorting leaves the modified flag alone.
    void resort();

private:
    TableModel &m_model;
    Settings &m_settings;
    DesktopServices &m_desktop;
    RecordHistory &m_history;
};
