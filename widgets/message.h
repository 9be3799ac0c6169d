#pragma once

// Every message of the program goes through here: a modal box over the window, captioned
// with the program's title "Кормоплан". When the variable KORMOPLAN_MESSAGE_LOG names a
// file, each message (a question: its text) is also appended to it (UTF-8, one per line)
// before the box opens, so that a script driving the program can see what it said.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace widgets
{

void showMessage(QWidget *parent, const QString &text);

// A question with two answers: true for the first (`yes`), false for the second or when
// the box is closed; the second is the default.
bool askQuestion(QWidget *parent, const QString &text, const QString &yes, const QString &no);

// The question before anything is deleted or replaced: "Да" or "Нет", "Нет" the default
// and what Escape gives. True for "Да".
bool askYesNo(QWidget *parent, const QString &text);

// A question with several answers, one button each: the index of the answer given. The
// last answer is the one that changes nothing: the default, and what Escape or closing
// the box gives.
int askChoice(QWidget *parent, const QString &text, const QStringList &answers);

// Runs a window operation; a table error ends it and its text goes to show. False after
// an error.
bool runReporting(const std::function<void()> &operation,
                  const std::function<void(const QString &)> &show);

// The same, the error shown by showMessage over parent.
bool runReporting(QWidget *parent, const std::function<void()> &operation);

} // namespace widgets
