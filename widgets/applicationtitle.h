#pragma once

// The application title: the main window's caption, the caption of every message
// box, and the first word the instance guard looks for.

#include <QString>

namespace widgets
{

inline QString applicationTitle()
{
    return QStringLiteral("Кормоплан");
}

} // namespace widgets
