#pragma once

// The guard against a second running copy: a title search over the other visible,
// unowned top-level windows of the desktop for our own title and those of our sibling
// programs. It is no system-wide lock; it refuses the start while such a window is up.

#include "platform/windowlist.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace shell
{

// The words searched for, in this order: our own title, then the sibling programs'.
const QStringList &guardWords();

// Only the start of a title takes part in the search: the title buffer holds 128
// characters, the last of them the terminator.
inline constexpr int kComparedTitleLength = 127;

// The first window, from the top of the Z order down, that blocks the start: not one of
// ownWindows, visible, without a visible owner, with a title whose first 127 characters
// contain a guard word. nullopt when the start may go on.
std::optional<platform::TopLevelWindow>
findBlockingWindow(const QList<platform::TopLevelWindow> &windows,
                   const QSet<quint64> &ownWindows = {});

// The message shown when `title` blocks the start.
QString guardMessage(const QString &title);

} // namespace shell
