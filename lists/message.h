#pragma once

// The fixed-text message of a list window ("Записей, соответствующих ключу, нет...", the
// selection limits, table errors), shown over the window under the program's title.

#include <QString>

#include <functional>

class QWidget;

namespace lists
{

void showMessage(QWidget *parent, const QString &text);

// Runs a window operation; a table error ends it and is shown. False after an error.
bool runReporting(QWidget *parent, const std::function<void()> &operation);

} // namespace lists
