// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/drawing_threads.h"

#include <pthread.h>

#include <cstdlib>
#include <mutex>

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include "render/drawing_failure.h"

namespace kerf::map {
namespace {

// Whether a thread with the pool's attributes (the default stack) can be
// made now. Its stack, once joined, stays in the C library's cache, where
// the pool's next thread finds it, so that thread needs no new memory.
bool threadCanBeMade()
{
    pthread_t thread;
    if (pthread_create(&thread, nullptr, [](void*) -> void* { return nullptr; }, nullptr) != 0)
        return false;
    pthread_join(thread, nullptr);
    return true;
}

// The threads of the global pool made, each held busy until all are, so
// that each start makes a thread rather than reuse an idle one.
int makePoolThreads()
{
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->setExpiryTimeout(-1); // an idle thread waits for ever instead of ending
    const int wanted = pool->maxThreadCount();
    // Never destroyed: a released thread may still be leaving acquire().
    static QSemaphore running;
    static QSemaphore released;
    int made = 0;
    while (made < wanted && threadCanBeMade()) {
        pool->start([] {
            // The thread's first allocation takes its own heap of the C
            // library (64 MB of address space): now, rather than in the middle
            // of a drawing that counted on that room.
            void* volatile first = std::malloc(1);
            std::free(first);
            running.release();
            released.acquire();
        });
        running.acquire();
        ++made;
    }
    // Capped while they are all busy: a start meanwhile waits in the queue,
    // which they take up once released.
    if (made > 0)
        pool->setMaxThreadCount(made);
    released.release(made);
    return made;
}

} // namespace

void prepareDrawingThreads()
{
    static std::mutex preparing;
    static bool prepared = false;
    static int made = 0;
    const std::lock_guard lock(preparing);
    // A thread of the pool itself draws with no help from the others (Qt
    // splits no work there), and could not wait for the pool's threads.
    if (!prepared && !QThreadPool::globalInstance()->contains(QThread::currentThread())) {
        made = makePoolThreads();
        prepared = true;
    }
    if (prepared && made == 0)
        throw DrawingFailed("無法建立繪圖所需的執行緒：系統資源不足（可能是記憶體或程序數的限制）。沒有產生圖片。");
}

} // namespace kerf::map
