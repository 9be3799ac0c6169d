#pragma once

// A run observer without bars, for the command-line tool and the tests: progress is
// passed over and each message handed to a function (dropped when there is none).
// Header-only, so that a test that only builds the fixture needs no engine library.

#include "calc/runobserver.h"

#include <functional>

namespace calc
{

class MessageObserver final : public RunObserver
{
public:
    explicit MessageObserver(std::function<void(const QString &)> onMessage = {})
        : onMessage_(std::move(onMessage))
    {
    }

    void solverProgress(int) override {}
    void showSolverProgress(int, int) override {}
    void hideSolverProgress() override {}
    void showAttemptProgress(int) override {}
    void setAttemptProgress(int) override {}
    void hideAttemptProgress() override {}
    void showMessage(const QString &text) override
    {
        if (onMessage_)
            onMessage_(text);
    }

private:
    std::function<void(const QString &)> onMessage_;
};

} // namespace calc
