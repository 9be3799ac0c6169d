#include "calc/window/runprogress.h"

#include <QProgressBar>

#include <algorithm>

namespace calc
{

WindowRunObserver::WindowRunObserver(QProgressBar *solverBar, QProgressBar *attemptBar,
                                     MessageSink message)
    : solverBar_(solverBar), attemptBar_(attemptBar), message_(std::move(message))
{
    attemptBar_->setFormat(QStringLiteral("попытка %v из %m"));
}

void WindowRunObserver::solverProgress(int position)
{
    const int value = std::clamp(position, solverBar_->minimum(), solverBar_->maximum());
    if (value == solverBar_->value())
        return;
    solverBar_->setValue(value);
}

void WindowRunObserver::showSolverProgress(int minimum, int maximum)
{
    solverBar_->setRange(minimum, maximum);
    solverBar_->setValue(minimum);
    solverBar_->show();
}

void WindowRunObserver::hideSolverProgress()
{
    solverBar_->hide();
}

void WindowRunObserver::showAttemptProgress(int maximum)
{
    attemptBar_->setRange(0, std::max(maximum, 1));
    attemptBar_->setValue(0);
    attemptBar_->setTextVisible(true);
    attemptBar_->show();
}

void WindowRunObserver::setAttemptProgress(int position)
{
    attemptBar_->setValue(std::clamp(position, attemptBar_->minimum(), attemptBar_->maximum()));
}

void WindowRunObserver::hideAttemptProgress()
{
    attemptBar_->hide();
}

void WindowRunObserver::showMessage(const QString &text)
{
    if (message_)
        message_(text);
}

} // namespace calc
