#include "platform/windowlist.h"

#include <QGuiApplication>

namespace platform
{

namespace
{

// True when the windows of this desktop are X11 windows we can list.
bool onX11()
{
    if (qGuiApp)
        return QGuiApplication::platformName() == QLatin1String("xcb");
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    if (!qpa.isEmpty() && !qpa.startsWith("xcb"))
        return false;
    return !qgetenv("DISPLAY").isEmpty();
}

} // namespace

QList<TopLevelWindow> topLevelWindows()
{
    QList<TopLevelWindow> windows;
#ifdef Q_OS_WIN
    if (!winTopLevelWindows(windows))
        windows.clear();
#else
    if (onX11() && !x11TopLevelWindows(windows))
        windows.clear();
#endif
    return windows;
}

} // namespace platform
