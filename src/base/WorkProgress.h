#pragma once

#include <QPromise>
#include <QtGlobal>

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>

// The end of work the user asked to stop: it leaves everything as it was
// before the work began, and ends the command without a message (the
// error reporter lets it pass).
class WorkStopped : public std::exception
{
public:
    const char *what() const noexcept override { return "work stopped"; }
};

// How far long work has come, and whether it is to stop. The work reports
// from any of its threads; the one that shows the progress reads it from
// another. The whole is kScale steps, cut into stages that the work declares
// one after another, each counted in units of its own (bytes, records).
// Work that runs as a task of the work pool reports to the task's promise,
// whose cancel asks the work to stop (reportTo).
class WorkProgress
{
public:
    static constexpr int kScale = 1000;

    // The next stage, which ends at end (up to kScale) of the whole and
    // counts units. Declared between stages, by the thread that runs them.
    void beginStage(int end, qint64 units);
    // More units of the current stage done. Cheap enough for every few
    // thousand records, from any thread.
    void advance(qint64 units);
    // Where the whole stands, 0 to kScale.
    int value() const;

    // Asks the work to stop at its next look; it may have finished already.
    void requestStop();
    bool stopRequested() const
    {
        return m_stop.load(std::memory_order_relaxed) || (m_promise && m_promise->isCanceled());
    }
    // Throws WorkStopped when a stop was asked.
    void throwIfStopped() const;

    // Called with value() after each change of stage and each advance, on the
    // thread that reported, one call at a time. Set before the work starts.
    void setObserver(std::function<void(int value)> observer) { m_observer = std::move(observer); }
    // The task the work runs as: value() goes to the promise as its progress
    // (0 to kScale), and a cancel of its future is a request to stop. Set
    // before the work starts, for as long as it runs.
    void reportTo(QPromise<void> *promise);

private:
    void tell();

    std::atomic<int> m_stageBegin{0};
    std::atomic<int> m_stageEnd{0};
    std::atomic<qint64> m_stageUnits{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_stop{false};
    std::function<void(int)> m_observer;
    QPromise<void> *m_promise = nullptr;
    std::mutex m_telling;
};
