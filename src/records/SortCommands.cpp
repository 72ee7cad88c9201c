#include "SortCommands.h"

#include "RecordHistory.h"
#include "RowSorter.h"
#include "SortChange.h"
#include "base/DesktopServices.h"
#include "base/SettingKeys.h"
#include "base/Settings.h"
#include "document/TableModel.h"

SortCommands::SortCommands(TableModel &model, Settings &settings, DesktopServices &desktop, RecordHistory &history)
    : m_model(model)
    , m_settings(settings)
    , m_desktop(desktop)
    , m_history(history)
{
}

void SortCommands::chooseColumn(int column)
{
    m_settings.write(Keys::sortColumn(), column);
}

void SortCommands::chooseDirection(int factor)
{
    m_settings.write(Keys::sortDirection(), factor);
}

void SortCommands::resort()
{
    const int column = m_settings.read(Keys::sortColumn());
    const int factor = m_settings.read(Keys::sortDirection());
    if (m_model.recordCount() < 2)
        return;
    BusyScope busy(m_desktop);
    m_history.push(std::make_unique<SortChange>(
        m_model, RowSorter::sortedOrder(m_model.table(), column, factor, RowSorter::collator())));
}
