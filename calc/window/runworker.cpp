#include "calc/window/runworker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

namespace calc
{

namespace
{

// The worker's observer: every call goes over to the interface thread in order. The
// solver's position is reported far more often than a bar can move, so only the latest
// is sent, once per call waiting there. A message waits until it has been acknowledged.
class ForwardingObserver final : public RunObserver
{
public:
    ForwardingObserver(QObject *receiver, RunObserver &shown) : receiver_(receiver), shown_(shown)
    {
    }

    void solverProgress(int position) override
    {
        position_ = position;
        if (!positionQueued_.exchange(true))
            post([this] {
                positionQueued_ = false;
                shown_.solverProgress(position_);
            });
    }
    void showSolverProgress(int minimum, int maximum) override
    {
        post([this, minimum, maximum] { shown_.showSolverProgress(minimum, maximum); });
    }
    void hideSolverProgress() override
    {
        post([this] { shown_.hideSolverProgress(); });
    }
    void showAttemptProgress(int maximum) override
    {
        post([this, maximum] { shown_.showAttemptProgress(maximum); });
    }
    void setAttemptProgress(int position) override
    {
        post([this, position] { shown_.setAttemptProgress(position); });
    }
    void hideAttemptProgress() override
    {
        post([this] { shown_.hideAttemptProgress(); });
    }
    void showMessage(const QString &text) override
    {
        QMetaObject::invokeMethod(
            receiver_, [this, text] { shown_.showMessage(text); }, Qt::BlockingQueuedConnection);
    }

private:
    template <class F> void post(F call)
    {
        QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
    }

    QObject *receiver_;
    RunObserver &shown_;
    std::atomic_int position_{0};
    std::atomic_bool positionQueued_{false};
};

} // namespace

RunWorker::RunWorker(RunObserver &shown, QObject *parent) : QObject(parent), shown_(shown) {}

RunWorker::~RunWorker() = default;

RunResult RunWorker::run(LoadedData data, RunOptions options)
{
    stop_ = false;
    running_ = true;
    options.stop = &stop_;
    // Lives until every call it queued has been delivered: they come before the end.
    ForwardingObserver forward(this, shown_);
    RunResult result;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            result = solveRun(std::move(data), options, forward);
        } catch (const std::exception &e) {
            result = RunResult{};
            result.outcome = RunOutcome::Errors;
            result.diagnostics = {QStringLiteral("Расчет прерван: ") +
                                  QString::fromLocal8Bit(e.what())};
        }
    }));
    QEventLoop loop;
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    // the calls queued before the end have been delivered: they were posted first
    QCoreApplication::sendPostedEvents(this);
    running_ = false;
    return result;
}

} // namespace calc
