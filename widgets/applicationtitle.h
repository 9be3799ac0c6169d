#pragma once

// The application title: the main window's caption and the caption of every message
// box.

#include <QString>

namespace widgets
{

inline QString applicationTitle()
{
    return QStringLiteral("Кормоплан");
}

} // namespace widgets
