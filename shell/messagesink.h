#pragma once

// Where start-up and close send the messages they show the user. The running program
// shows each in a message box; tests collect them.

#include <QString>

#include <functional>

namespace shell
{

using MessageSink = std::function<void(const QString &text)>;

// The program's sink: a modal message box captioned with the application title. When
// the variable KORMOPLAN_MESSAGE_LOG names a file, each message is also appended to it
// (UTF-8, one message per line) before the box opens, so that a script driving the
// program can see what it said.
MessageSink messageBoxSink();

// A question with two answers: true for the first (`yes`), false for the second or when
// the box is closed. Logged like the messages above, the question only.
using Question = std::function<bool(const QString &text)>;
Question questionBox(const QString &yes, const QString &no);

} // namespace shell
