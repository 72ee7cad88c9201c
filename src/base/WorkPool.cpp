#include "WorkPool.h"

#include <QThread>
#include <QThreadPool>

namespace WorkPool {

QThreadPool &pool()
{
    QThreadPool *global = QThreadPool::globalInstance();
    Q_ASSERT(global); // gone only while the application object is destroyed
    return *global;
}

void blockingWait(const std::function<void()> &wait)
{
    QThreadPool &threads = pool();
    if (!threads.contains(QThread::currentThread())) {
        wait();
        return;
    }
    // Documented for a pool thread that goes to sleep: its place goes to
    // another task until it takes it back.
    threads.releaseThread();
    struct TakeBack
    {
        QThreadPool &threads;
        ~TakeBack() { threads.reserveThread(); }
    } takeBack{threads};
    wait();
}

void finish()
{
    pool().waitForDone();
}

} // namespace WorkPool
