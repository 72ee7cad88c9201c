#include "WorkProgress.h"

#include <algorithm>

void WorkProgress::beginStage(int end, qint64 units)
{
    m_stageBegin = std::max(value(), 0);
    m_done = 0;
    m_stageUnits = std::max<qint64>(units, 1);
    m_stageEnd = std::clamp(end, int(m_stageBegin), kScale);
    tell();
}

void WorkProgress::advance(qint64 units)
{
    m_done.fetch_add(units, std::memory_order_relaxed);
    tell();
}

int WorkProgress::value() const
{
    // The stage's fields may be read in the middle of a change of stage:
    // the value is clamped rather than exact then.
    const int begin = m_stageBegin;
    const int end = m_stageEnd;
    const qint64 units = std::max<qint64>(m_stageUnits, 1);
    const qint64 done = std::clamp<qint64>(m_done.load(std::memory_order_relaxed), 0, units);
    return std::clamp(int(begin + (end - begin) * done / units), 0, kScale);
}

void WorkProgress::requestStop()
{
    m_stop = true;
}

void WorkProgress::throwIfStopped() const
{
    if (stopRequested())
        throw WorkStopped();
}

void WorkProgress::reportTo(QPromise<void> *promise)
{
    m_promise = promise;
    if (m_promise)
        m_promise->setProgressRange(0, kScale);
}

void WorkProgress::tell()
{
    // The promise keeps the largest value it was told.
    if (m_promise)
        m_promise->setProgressValue(value());
    if (!m_observer)
        return;
    // Read under the lock, the values told never go back within a stage.
    const std::lock_guard<std::mutex> lock(m_telling);
    m_observer(value());
}
