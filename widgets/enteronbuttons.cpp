#include "widgets/enteronbuttons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace widgets
{

namespace
{

bool isPlainEnter(const QKeyEvent &key)
{
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    return enter && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

bool EnterOnButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // check boxes and radio buttons are buttons too, but Enter does not toggle them
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!qobject_cast<QPushButton *>(watched) && !qobject_cast<QToolButton *>(watched))
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    if (!isPlainEnter(key) || !button->isEnabled())
        return false;
    // a held key presses once, as Space does
    if (!key.isAutoRepeat())
        button->click();
    return true;
}

void installEnterOnButtons()
{
    qApp->installEventFilter(new EnterOnButtons(qApp));
}

} // namespace widgets
