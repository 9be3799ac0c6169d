#pragma once

// Messages about what is being typed. A message box runs an event loop of its own: shown
// from inside an editor's signal (a cell's text changed, a typed value refused while it
// is written), it lets the item view close and delete the cell editor under the code
// that is still handling the key, and the next key crashes. Such a message is shown once
// the event being handled is over instead; when it is dismissed, the typing goes on where
// the box interrupted it: the cell's editor is opened again with the text it held and the
// cursor where it stood, unless the user has moved to another cell meanwhile.
//
//     void Grid::onTextEdited(const QString &text)
//     {
//         if (!valid(text))
//             widgets::showMessageAfterEdit(this, QStringLiteral("Исправьте..."));
//     }

#include <QString>

#include <functional>

class QWidget;

namespace widgets
{

// Runs show (which puts up a message box over window) after the event being handled,
// then lets the interrupted cell edit go on. Nothing is shown once window is destroyed.
void afterEdit(QWidget *window, std::function<void()> show);

// The usual message box of the program (widgets::showMessage), shown that way.
void showMessageAfterEdit(QWidget *window, const QString &text);

} // namespace widgets
