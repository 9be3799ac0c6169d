#pragma once

// What a calculation run shows in the preparation window while it works: the solver's
// progress bar around each full solve, the attempt bar of the two output modes, and the
// run's message boxes. The run holds the user-interface thread, so the bars are
// repainted from here (no user input is taken meanwhile).

#include "calc/runobserver.h"

#include <QElapsedTimer>

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
    // Lets the bars paint, at most every few hundredths of a second unless forced.
    void repaintBars(bool force);

    QProgressBar *solverBar_;
    QProgressBar *attemptBar_;
    MessageSink message_;
    QElapsedTimer sinceRepaint_;
};

} // namespace calc
