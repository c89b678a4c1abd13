#pragma once

#include <algorithm>
#include <exception>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace kerf::ui {

/// One kind of work that a window runs in a thread pool, one run at a time,
/// its result handed over on the window's thread. A run that is replaced or
/// cancelled hands nothing over.
template <typename T>
class BackgroundJob {
public:
    /// Tells the work its share done (0 to 1); false once the work is cancelled.
    using Progress = std::function<bool(double done)>;
    /// The steps of the future's progress value.
    static constexpr int ProgressSteps = 1000;

    /// `done` takes the result of a run; `failed` the words for why a run
    /// could not finish: "記憶體不足" when the memory ran out, "發生錯誤" for any
    /// other exception.
    BackgroundJob(std::function<void(T)> done, std::function<void(const std::string&)> failed)
        : done_(std::move(done)), failed_(std::move(failed))
    {
        QObject::connect(&watcher_, &QFutureWatcherBase::finished, &watcher_, [this] { finish(); });
    }
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    /// Cancels the run going on and runs `work(progress)` in `pool`. A work
    /// that stops early because it was cancelled returns no value, and its
    /// run hands nothing over.
    template <typename Work>
    void start(QThreadPool& pool, Work work)
    {
        watcher_.cancel();
        pending_ = true;
        watcher_.setFuture(QtConcurrent::run(&pool, [work = std::move(work)](QPromise<Outcome>& promise) mutable {
            promise.setProgressRange(0, ProgressSteps);
            const Progress progress = [&promise](double done) {
                promise.setProgressValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * ProgressSteps));
                return !promise.isCanceled();
            };
            Outcome outcome;
            try {
                std::optional<T> value = work(progress);
                if (!value)
                    return; // cancelled
                outcome.value = std::move(value);
            } catch (const std::bad_alloc&) {
                outcome.failure = "記憶體不足";
            } catch (const std::exception&) {
                outcome.failure = "發生錯誤";
            }
            promise.addResult(std::move(outcome));
        }));
    }

    /// Cancels the run going on; its result, if it still comes, is dropped.
    void cancel()
    {
        watcher_.cancel();
        // Watching nothing: the finished signal of the cancelled run does not come.
        watcher_.setFuture({});
        pending_ = false;
    }

    /// A run was started whose result has not been handed over.
    bool isPending() const { return pending_; }
    bool isRunning() const { return watcher_.isRunning(); }
    /// The share done of the run going on, in ProgressSteps.
    int progress() const { return std::max(0, watcher_.progressValue()); }
    /// Signals progressValueChanged as a run goes on.
    const QFutureWatcherBase& watcher() const { return watcher_; }

private:
    struct Outcome {
        std::optional<T> value;
        std::string failure;
    };

    void finish()
    {
        const QFuture<Outcome> future = watcher_.future();
        if (!pending_ || future.isCanceled() || future.resultCount() == 0)
            return;
        pending_ = false;
        Outcome outcome = future.result();
        if (outcome.value)
            done_(std::move(*outcome.value));
        else
            failed_(outcome.failure);
    }

    QFutureWatcher<Outcome> watcher_;
    std::function<void(T)> done_;
    std::function<void(const std::string&)> failed_;
    bool pending_ = false;
};

} // namespace kerf::ui
