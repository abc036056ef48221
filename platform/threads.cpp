#include "platform/threads.h"

#include <QRunnable>
#include <QThreadPool>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

namespace mirvane::platform {

std::jthread StartThread(std::function<void()> body) noexcept {
    try {
        return std::jthread(std::move(body));
    } catch (const std::system_error&) {
        return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
}

namespace {

// Counts the pool threads that are running a warm-up task, and holds them until every start has
// been tried, so that each start needs a thread of its own.
struct WarmUp {
    std::mutex mutex;
    std::condition_variable changed;
    int running = 0;
    bool released = false;
};

// Qt reports a thread that could not start only through its warning channel, from inside the
// start call, on the starting thread.
thread_local bool startFailed = false;
QtMessageHandler previousHandler = nullptr;

void NoticeFailedStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QThread::start: Thread creation error"))) {
        startFailed = true;
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    }
}

}  // namespace

bool StartImageThreads() {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool == nullptr) {
        return false;
    }
    // A pool thread that never expires is never started again: after this, Qt hands its work to
    // these threads or queues it for them.
    pool->setExpiryTimeout(-1);
    const int threads = pool->maxThreadCount();
    const auto warmUp = std::make_shared<WarmUp>();
    previousHandler = qInstallMessageHandler(NoticeFailedStart);
    startFailed = false;
    int started = 0;
    for (int i = 0; i < threads && !startFailed; ++i) {
        pool->start([warmUp] {
            std::unique_lock lock(warmUp->mutex);
            ++warmUp->running;
            warmUp->changed.notify_all();
            warmUp->changed.wait(lock, [&] { return warmUp->released; });
        });
        started += startFailed ? 0 : 1;
    }
    qInstallMessageHandler(previousHandler);
    {
        // Each thread that did start runs its task: waiting for them has an end.
        std::unique_lock lock(warmUp->mutex);
        warmUp->changed.wait(lock, [&] { return warmUp->running == started; });
        warmUp->released = true;
    }
    warmUp->changed.notify_all();
    return !startFailed;
}

}  // namespace mirvane::platform
