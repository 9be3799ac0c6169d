#pragma once

// The requests answered on the terminal before any window: `--help` and `--version`. They
// are read before the windowing system starts, so they work without a display too.

#include <QString>
#include <QStringList>

namespace shell
{

enum class TerminalRequest { None, Help, Version };

// The first of --help (-h) and --version among the arguments (the program name first);
// the value of --workdir is not taken for one.
TerminalRequest terminalRequest(const QStringList &arguments);

QString helpText();
QString versionText();

} // namespace shell
