#pragma once

// Where start-up and close send the messages they show the user. The running program
// shows each in a message box; tests collect them.

#include <QString>

#include <functional>

namespace shell
{

using MessageSink = std::function<void(const QString &text)>;

// The program's sink: the program's message box (widgets::showMessage, which also
// writes the message log) over the active window.
MessageSink messageBoxSink();

// A question with two answers: true for the first (`yes`), false for the second or when
// the box is closed (widgets::askQuestion).
using Question = std::function<bool(const QString &text)>;
Question questionBox(const QString &yes, const QString &no);

} // namespace shell
