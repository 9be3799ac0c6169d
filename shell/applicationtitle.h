#pragma once

// The application title: the main window's caption, the caption of the program's message
// boxes, and the first word the instance guard looks for.

#include <QString>

namespace shell
{

inline QString applicationTitle()
{
    return QStringLiteral("Кормоплан");
}

} // namespace shell
