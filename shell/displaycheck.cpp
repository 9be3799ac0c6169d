#include "shell/displaycheck.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <xcb/xcb.h>
#endif

namespace shell
{

namespace
{

// The value of Qt's own option `-name VALUE` (also spelt with two dashes).
QString qtOption(const QStringList &arguments, const QString &name)
{
    const QString single = QLatin1Char('-') + name;
    const QString twin = QStringLiteral("--") + name;
    for (int k = 1; k + 1 < arguments.size(); ++k) {
        if (arguments.at(k) == single || arguments.at(k) == twin)
            return arguments.at(k + 1);
    }
    return {};
}

bool needsX11(const QStringList &arguments)
{
    QString platform = qtOption(arguments, QStringLiteral("platform"));
    if (platform.isEmpty())
        platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return platform.startsWith(u"xcb");
}

QString noDisplayAdvice()
{
    return QStringLiteral("Кормоплан работает на рабочем столе; без дисплея его можно запустить "
                          "в виртуальном X-сервере: xvfb-run kormoplan.");
}

} // namespace

DisplayCheck::DisplayCheck(const QStringList &arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
#else
    if (!needsX11(arguments))
        return;
    QString display = qtOption(arguments, QStringLiteral("display"));
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) {
        problem_ = QStringLiteral("Нет графического дисплея: переменная DISPLAY не задана. ") +
                   noDisplayAdvice();
        return;
    }
    connection_ = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection_) != 0) {
        problem_ = QStringLiteral("Не удалось подключиться к дисплею %1. ").arg(display) +
                   noDisplayAdvice();
        release();
    }
#endif
}

void DisplayCheck::release()
{
#ifndef Q_OS_WIN
    if (connection_)
        xcb_disconnect(connection_);
#endif
    connection_ = nullptr;
}

} // namespace shell
