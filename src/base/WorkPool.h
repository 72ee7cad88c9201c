#pragma once

#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <utility>

class QThreadPool;

// The one way work leaves the window's thread. Every task runs in Qt's
// global thread pool, which has a thread for each processor of the machine
// (QThread::idealThreadCount()), started by QtConcurrent::run; a task that
// reports progress or looks for a cancel takes a QPromise. No class starts a
// thread of its own. The pool runs:
// - long work behind the bar with "Отмена" (LongWork::run through the
//   desktop services: open, save, CSV, printing),
// - the parts of a large read, write or sort (Parallel),
// - the windows' work in the background: the recovery copy, freeing a table
//   that was replaced, counting the printed pages for the preview, and laying
//   pages out ahead of the print's drawing.
//
// What a task may touch: only data that nothing changes while it runs.
// - Long work runs while the windows take no input (the desktop services
//   see to it, QtDesktopServices::runLongWork), so no command changes the
//   table or the document meanwhile; the work reads them, or makes new data
//   of its own that the command puts in place once the work has ended.
// - The parts of a piece of work read what it reads and write to places of
//   their own.
// - The recovery copy writes a snapshot of the table (TableData::sharedCopy),
//   the freeing gets records nothing else refers to, and the page count and
//   the page layout read a table that cannot change while they run: the
//   preview's window is modal and ends the count when it closes, and the
//   layout belongs to a print's long work.
//
// A task that waits for another must not keep its thread from the pool
// meanwhile, or a machine with one or two processors could wait for ever:
// waiting for a QFuture runs a task that has not started yet on the waiting
// thread itself (QFuture::waitForFinished), and any other wait goes through
// blockingWait.
namespace WorkPool {

QThreadPool &pool();

// Starts task on the pool and returns its future at once. task may take a
// QPromise<T> & first, for its result, progress and cancel.
template<typename Task>
auto start(Task &&task)
{
    return QtConcurrent::run(&pool(), std::forward<Task>(task));
}

// Runs wait(), which blocks until another task of the pool has moved on. On
// a thread of the pool, the thread's place is given up meanwhile, so that
// the pool may start that other task even when all its threads are busy.
void blockingWait(const std::function<void()> &wait);

// Waits for every task under way and ends the pool's threads, for the end of
// the program: what the threads keep (the fonts they used) goes while the
// application still stands.
void finish();

} // namespace WorkPool
