#include "Progress.h"

#include "base/WorkProgress.h"

#include <QIODevice>

#include <algorithm>

namespace {

constexpr qint64 kQuietMs = 1000;

} // namespace

Progress::Progress(QIODevice &err, bool enabled)
    : m_err(err)
    , m_enabled(enabled)
{
    m_clock.start();
}

void Progress::stage(const QString &text)
{
    m_stage = text;
    m_percent = -1;
    show(m_stage + QStringLiteral("..."));
}

void Progress::advance(qint64 done, qint64 total)
{
    const int percent = total > 0 ? int(done * 100 / total) : 100;
    if (percent == m_percent)
        return;
    m_percent = percent;
    show(QStringLiteral("%1... %2%").arg(m_stage).arg(percent));
}

void Progress::follow(WorkProgress &work)
{
    // The work tells one report at a time, from whichever thread made it.
    work.setObserver([this](int value) { advance(value, WorkProgress::kScale); });
}

void Progress::finish()
{
    if (m_shownLength == 0)
        return;
    m_err.write("\r" + QByteArray(m_shownLength, ' ') + "\r");
    m_shownLength = 0;
}

void Progress::show(const QString &line)
{
    if (!m_enabled || m_clock.elapsed() < kQuietMs)
        return;
    const QString text = QStringLiteral("tablora-convert: ") + line;
    // Spaces cover what a longer line before left behind.
    const qsizetype padding = std::max<qsizetype>(0, m_shownLength - text.size());
    m_err.write("\r" + text.toUtf8() + QByteArray(padding, ' '));
    m_shownLength = text.size();
}
