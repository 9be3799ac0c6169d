#pragma once

// What a calculation run shows in the preparation window while it works: the solver's
// progress bar around each full solve, the attempt bar of the two output modes ("попытка
// N из M"), and the run's message boxes. Called on the interface thread: the run itself
// goes on on a worker thread (runworker.h), which hands its calls over.

#include "calc/runobserver.h"

#include <functional>

class QProgressBar;

namespace calc
{

class WindowRunObserver final : public RunObserver
{
    Q_DISABLE_COPY_MOVE(WindowRunObserver)

public:
    using MessageSink = std::function<void(const QString &text)>;

    WindowRunObserver(QProgressBar *solverBar, QProgressBar *attemptBar, MessageSink message);

    void solverProgress(int position) override;
    void showSolverProgress(int minimum, int maximum) override;
    void hideSolverProgress() override;
    void showAttemptProgress(int maximum) override;
    void setAttemptProgress(int position) override;
    void hideAttemptProgress() override;
    void showMessage(const QString &text) override;

private:
    QProgressBar *solverBar_;
    QProgressBar *attemptBar_;
    MessageSink message_;
};

} // namespace calc
