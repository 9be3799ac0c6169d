#pragma once

// The desktop's top-level windows, as kp-windowlist prints them for the tests: in Z order
// from the topmost down, each with its visibility, whether it has an owner, and its title.
//
// X11 (libxcb): the children of the root window in stacking order; where a window
// manager wraps a client in a frame, the frame gives the visibility and the client
// inside it the title and owner. Windows: EnumWindows. Anywhere else (no X11 display,
// the offscreen platform) the list is empty.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace platform
{

struct TopLevelWindow {
    quint64 id = 0;       // native window id (X11 window of the client, HWND)
    bool visible = false; // mapped and viewable / IsWindowVisible
    // Has an owner that is itself a visible window. Qt gives even a parentless dialog a
    // transient-for link to its hidden client-leader window; that does not count.
    bool owned = false;
    QString title; // _NET_WM_NAME (UTF-8), else WM_NAME; empty when it has none
};

// Reads the list afresh on each call. X11 is used when the application runs on the
// xcb platform, or, before any QGuiApplication exists, when DISPLAY is set.
QList<TopLevelWindow> topLevelWindows();

// Platform back ends; each returns false when it cannot read the desktop's windows.
bool x11TopLevelWindows(QList<TopLevelWindow> &windows);
bool winTopLevelWindows(QList<TopLevelWindow> &windows);

} // namespace platform
