#pragma once

// Whether the windowing system can start. Qt aborts the process when its X11 platform
// finds no display; the program checks first and says so on the terminal instead.

#include <QString>
#include <QStringList>

struct xcb_connection_t;

namespace shell
{

class DisplayCheck final
{
    Q_DISABLE_COPY_MOVE(DisplayCheck)

public:
    // Connects to the X display the arguments (the program's own, the program name first)
    // and the environment name. No check when another platform than X11 was asked for
    // (-platform, QT_QPA_PLATFORM) or a Wayland session may serve.
    explicit DisplayCheck(const QStringList &arguments);
    ~DisplayCheck() { release(); }

    // Why no window can be shown: no X display named, or the named one does not answer.
    // Empty when one answers or nothing was checked.
    QString problem() const { return problem_; }

    // Closes the check's connection. Held until Qt has its own: a fresh X server whose
    // only client leaves resets itself (xvfb-run), and Qt's connection would meet the reset.
    void release();

private:
    xcb_connection_t *connection_ = nullptr;
    QString problem_;
};

} // namespace shell
