#pragma once

// The solving part of a calculation on a worker thread. The tables are read before it
// (calc::loadRun) and whatever is written comes after it, both on the interface thread:
// the worker has only values. While it runs, a local event loop keeps the window live;
// the bars move through queued calls, a message box is shown on the interface thread
// while the run waits for it, and stop() ends the run at its next step.
//
//     RunWorker worker(windowObserver);
//     RunResult result = worker.run(loadRun(tables, options), options); // window stays live
//     ... worker.stop() from a button, while run() waits

#include "calc/run.h"

#include <QObject>

#include <atomic>

namespace calc
{

class RunWorker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunWorker)

public:
    // shown: the interface thread's observer (bars and message boxes); it outlives runs.
    explicit RunWorker(RunObserver &shown, QObject *parent = nullptr);
    ~RunWorker() override;

    // The run from its loaded data on a worker thread; returns when it has ended.
    RunResult run(LoadedData data, RunOptions options);
    bool running() const { return running_; }
    // Asks the run in hand to stop at its next step (the result is RunOutcome::Stopped).
    void stop() { stop_ = true; }
    bool stopRequested() const { return stop_; }

private:
    RunObserver &shown_;
    std::atomic_bool stop_{false};
    bool running_ = false;
};

} // namespace calc
