// The top-level windows on Windows, through EnumWindows (compiled only there).
#include "platform/windowlist.h"

#include <windows.h>

#include <string>

namespace platform
{

namespace
{

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param)
{
    auto &windows = *reinterpret_cast<QList<TopLevelWindow> *>(param);
    TopLevelWindow window;
    window.id = quint64(reinterpret_cast<quintptr>(hwnd));
    window.visible = IsWindowVisible(hwnd) != FALSE;
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    window.owned = owner != nullptr && IsWindowVisible(owner) != FALSE;
    const int length = GetWindowTextLengthW(hwnd);
    if (length > 0) {
        std::wstring buffer(size_t(length) + 1, L'\0');
        const int read = GetWindowTextW(hwnd, buffer.data(), length + 1);
        window.title = QString::fromWCharArray(buffer.data(), qMax(read, 0));
    }
    windows.append(window);
    return TRUE;
}

} // namespace

// EnumWindows visits the top-level windows from the top of the Z order down.
bool winTopLevelWindows(QList<TopLevelWindow> &windows)
{
    windows.clear();
    return EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows)) != FALSE;
}

} // namespace platform
