// kp-windowlist: the desktop's top-level windows, for the tests under Xvfb.
//
//   kp-windowlist            prints them, topmost first, one per line: id, visible (1/0),
//                            owned by a visible window (1/0), title; tab-separated, UTF-8
//   kp-windowlist --close T  asks every visible window titled exactly T to close, as the
//                            close box of its frame would (WM_DELETE_WINDOW)
#include "platform/windowlist.h"

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

void printWindows()
{
    for (const platform::TopLevelWindow &w : platform::topLevelWindows()) {
        const QByteArray line = QByteArray::number(w.id) + '\t' + (w.visible ? "1" : "0") + '\t' +
                                (w.owned ? "1" : "0") + '\t' + w.title.toUtf8() + '\n';
        std::fputs(line.constData(), stdout);
    }
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

int closeWindows(const QString &title)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fputs("kp-windowlist: no X11 display\n", stderr);
        xcb_disconnect(c);
        return 2;
    }
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(c, "WM_DELETE_WINDOW");
    int asked = 0;
    for (const platform::TopLevelWindow &w : platform::topLevelWindows()) {
        if (!w.visible || w.title != title)
            continue;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = xcb_window_t(w.id);
        event.type = protocols;
        event.data.data32[0] = deleteWindow;
        event.data.data32[1] = XCB_CURRENT_TIME;
        const auto cookie = xcb_send_event_checked(c, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                                   reinterpret_cast<const char *>(&event));
        if (xcb_generic_error_t *error = xcb_request_check(c, cookie)) {
            std::fprintf(stderr, "kp-windowlist: X error %d\n", error->error_code);
            std::free(error);
            continue;
        }
        ++asked;
    }
    xcb_flush(c);
    xcb_disconnect(c);
    return asked > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--close") == 0)
        return closeWindows(QString::fromUtf8(argv[2]));
    if (argc != 1) {
        std::fputs("usage: kp-windowlist [--close TITLE]\n", stderr);
        return 2;
    }
    printWindows();
    return 0;
}
