#pragma once

// The fixed-text message of a window ("Записей, соответствующих ключу, нет...", the
// selection limits, table errors), shown over the window under the program's title.

#include <QString>

#include <functional>

class QWidget;

namespace widgets
{

void showMessage(QWidget *parent, const QString &text);

// Runs a window operation; a table error ends it and its text goes to show. False after
// an error.
bool runReporting(const std::function<void()> &operation,
                  const std::function<void(const QString &)> &show);

// The same, the error shown by showMessage over parent.
bool runReporting(QWidget *parent, const std::function<void()> &operation);

} // namespace widgets
