// The top-level windows of an X11 display, through libxcb (not compiled on Windows).
#include "platform/windowlist.h"

#include <QStringDecoder>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform
{

namespace
{

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T *raw)
{
    return Reply<T>(raw, &std::free);
}

struct Atoms {
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t compoundText = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
};

xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 1, uint16_t(qstrlen(name)), name);
    const auto r = reply(xcb_intern_atom_reply(c, cookie, nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Atoms internAtoms(xcb_connection_t *c)
{
    Atoms atoms;
    atoms.netWmName = internAtom(c, "_NET_WM_NAME");
    atoms.utf8String = internAtom(c, "UTF8_STRING");
    atoms.compoundText = internAtom(c, "COMPOUND_TEXT");
    atoms.wmState = internAtom(c, "WM_STATE");
    return atoms;
}

QList<xcb_window_t> children(xcb_connection_t *c, xcb_window_t window)
{
    const auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
    if (!tree)
        return {};
    const xcb_window_t *ids = xcb_query_tree_children(tree.get());
    return QList<xcb_window_t>(ids, ids + xcb_query_tree_children_length(tree.get()));
}

bool viewable(xcb_connection_t *c, xcb_window_t window)
{
    const auto cookie = xcb_get_window_attributes(c, window);
    const auto attributes = reply(xcb_get_window_attributes_reply(c, cookie, nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

struct Property {
    xcb_atom_t type = XCB_ATOM_NONE;
    QByteArray bytes;
};

Property property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    const auto cookie = xcb_get_property(c, 0, window, name, type, 0, 4096);
    const auto r = reply(xcb_get_property_reply(c, cookie, nullptr));
    Property result;
    if (!r || r->type == XCB_ATOM_NONE)
        return result;
    result.type = r->type;
    const int length = xcb_get_property_value_length(r.get());
    result.bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(r.get())), length);
    return result;
}

bool hasWmState(xcb_connection_t *c, xcb_window_t window, const Atoms &atoms)
{
    return property(c, window, atoms.wmState, XCB_ATOM_ANY).type != XCB_ATOM_NONE;
}

// The client window a window manager's frame holds: the first window below it (breadth
// first, a few levels deep) that carries WM_STATE; the window itself when none does.
xcb_window_t clientOf(xcb_connection_t *c, xcb_window_t top, const Atoms &atoms)
{
    if (hasWmState(c, top, atoms))
        return top;
    QList<xcb_window_t> level = children(c, top);
    for (int depth = 0; depth < 3 && !level.isEmpty(); ++depth) {
        QList<xcb_window_t> below;
        for (xcb_window_t w : level) {
            if (hasWmState(c, w, atoms))
                return w;
            below += children(c, w);
        }
        level = below;
    }
    return top;
}

// COMPOUND_TEXT as old clients write it: ASCII/Latin-1 by default, with escape sequences
// switching the right half to another ISO 8859 part (Cyrillic is "ESC - L") or to UTF-8.
QString decodeCompoundText(const QByteArray &bytes)
{
    QString text;
    QByteArray rightHalf = "ISO-8859-1";
    int i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '\x1b' && i + 2 < bytes.size() && bytes[i + 1] == '-') {
            rightHalf = bytes[i + 2] == 'L' ? "ISO-8859-5" : "ISO-8859-1";
            i += 3;
        } else if (bytes[i] == '\x1b' && i + 2 < bytes.size() && bytes[i + 1] == '%') {
            const int end = bytes.indexOf("\x1b%@", i + 3);
            const int stop = end < 0 ? int(bytes.size()) : end;
            text += QString::fromUtf8(bytes.mid(i + 3, stop - i - 3));
            i = end < 0 ? stop : end + 3;
        } else if (bytes[i] == '\x1b') {
            i += 3; // another designation: skip it, keep going
        } else {
            int j = i;
            while (j < bytes.size() && bytes[j] != '\x1b')
                ++j;
            QStringDecoder decoder(rightHalf.constData());
            text += decoder.isValid() ? decoder(bytes.mid(i, j - i))
                                      : QString::fromLatin1(bytes.mid(i, j - i));
            i = j;
        }
    }
    return text;
}

QString titleOf(xcb_connection_t *c, xcb_window_t window, const Atoms &atoms)
{
    const Property netName = property(c, window, atoms.netWmName, atoms.utf8String);
    if (!netName.bytes.isEmpty())
        return QString::fromUtf8(netName.bytes);
    const Property name = property(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY);
    if (name.type == atoms.utf8String)
        return QString::fromUtf8(name.bytes);
    if (name.type == atoms.compoundText)
        return decodeCompoundText(name.bytes);
    return QString::fromLatin1(name.bytes);
}

bool ownedByVisibleWindow(xcb_connection_t *c, xcb_window_t window)
{
    const Property owner = property(c, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    if (owner.bytes.size() < int(sizeof(xcb_window_t)))
        return false;
    xcb_window_t ownerId = 0;
    std::memcpy(&ownerId, owner.bytes.constData(), sizeof ownerId);
    return ownerId != XCB_WINDOW_NONE && viewable(c, ownerId);
}

TopLevelWindow describe(xcb_connection_t *c, xcb_window_t top, const Atoms &atoms)
{
    const xcb_window_t client = clientOf(c, top, atoms);
    TopLevelWindow window;
    window.id = client;
    window.visible = viewable(c, top) && (client == top || viewable(c, client));
    window.owned = ownedByVisibleWindow(c, client);
    window.title = titleOf(c, client, atoms);
    return window;
}

xcb_window_t rootWindow(xcb_connection_t *c, int screenNumber)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber)
            return it.data->root;
    }
    return XCB_WINDOW_NONE;
}

} // namespace

bool x11TopLevelWindows(QList<TopLevelWindow> &windows)
{
    windows.clear();
    int screenNumber = 0;
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), &xcb_disconnect);
    xcb_connection_t *c = connection.get();
    if (!c || xcb_connection_has_error(c))
        return false;
    const xcb_window_t root = rootWindow(c, screenNumber);
    if (root == XCB_WINDOW_NONE)
        return false;
    const Atoms atoms = internAtoms(c);
    const QList<xcb_window_t> stack = children(c, root); // bottom to top
    for (auto it = stack.crbegin(); it != stack.crend(); ++it)
        windows.append(describe(c, *it, atoms));
    return true;
}

} // namespace platform
