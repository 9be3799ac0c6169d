// Prints the top-level windows of the desktop, topmost first, one per line:
// id, visible (1/0), owned by a visible window (1/0), title; tab-separated, UTF-8.
#include "platform/windowlist.h"

#include <cstdio>

int main()
{
    for (const platform::TopLevelWindow &w : platform::topLevelWindows()) {
        const QByteArray line = QByteArray::number(w.id) + '\t' + (w.visible ? "1" : "0") + '\t'
                                + (w.owned ? "1" : "0") + '\t' + w.title.toUtf8() + '\n';
        std::fputs(line.constData(), stdout);
    }
    return 0;
}
