#pragma once

// Enter on a focused push button presses it, in every window of the application, as on
// other desktops; without it only Space does (the buttons are never auto-default, so that
// Enter in a grid or an edit field presses nothing). Grids, fields and every other widget
// keep their own Enter: only key presses aimed at a push or tool button are taken.

#include <QObject>

namespace widgets
{

class EnterOnButtons final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EnterOnButtons)

public:
    explicit EnterOnButtons(QObject *parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs one filter on the application, owned by it.
void installEnterOnButtons();

} // namespace widgets
