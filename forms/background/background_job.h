// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include <QFutureWatcher>
#include <QPromise>

#include "forms/background/background_pool.h"

namespace kerf::ui {

/// One kind of work that a window runs in the background pool, one run at a
/// time, its progress and result handed over on the window's thread. A run
/// that is replaced or cancelled hands nothing over; its work is told to stop
/// and nobody waits for it.
template <typename T>
class BackgroundJob {
public:
    /// Tells the work its share done (0 to 1); false once the work is cancelled.
    using Progress = std::function<bool(double done)>;
    /// The steps of the progress value.
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
    ~BackgroundJob() { cancel(); }

    /// Cancels the run going on and runs `work(progress)` in the background.
    /// A work that stops early because it was cancelled returns no value.
    template <typename Work>
    void start(Work work)
    {
        cancel();
        pending_ = true;
        auto promise = std::make_shared<QPromise<Outcome>>();
        auto reached = std::make_shared<std::atomic<double>>(0.0);
        run_ = promise->future();
        reached_ = reached;
        watcher_.setFuture(run_);
        promise->setProgressRange(0, ProgressSteps);
        promise->start();
        runInBackground([work = std::move(work), promise, reached]() mutable {
            const Progress progress = [&promise, &reached](double done) {
                done = std::clamp(done, 0.0, 1.0);
                reached->store(done);
                promise->setProgressValue(static_cast<int>(done * ProgressSteps));
                return !promise->isCanceled();
            };
            Outcome outcome;
            try {
                outcome.value = work(progress);
            } catch (const std::bad_alloc&) {
                outcome.failure = "記憶體不足";
            } catch (const std::exception&) {
                outcome.failure = "發生錯誤";
            }
            if (outcome.value || !outcome.failure.empty())
                promise->addResult(std::move(outcome));
            promise->finish();
        });
    }

    /// Cancels the run going on; its result, if it still comes, is dropped.
    void cancel()
    {
        run_.cancel();
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

    /// The last run started, cancelled or not: finished once its work has returned.
    QFuture<void> lastRun() const { return QFuture<void>(run_); }
    /// The share the last run's work had reached when it last told its progress.
    double lastRunReached() const { return reached_ ? reached_->load() : 0.0; }

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
    QFuture<Outcome> run_;
    std::shared_ptr<std::atomic<double>> reached_;
    std::function<void(T)> done_;
    std::function<void(const std::string&)> failed_;
    bool pending_ = false;
};

} // namespace kerf::ui
