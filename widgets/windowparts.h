#pragma once

// Small pieces every window builds the same way: its push buttons, its labels and its
// object names (the tests and the window's own code find children by them).

#include <QString>

#include <initializer_list>
#include <utility>

class QLabel;
class QObject;
class QPushButton;
class QWidget;

namespace widgets
{

// A push button that is never the dialog's default one (Enter in a grid or an edit
// field must not press it); named when name is given.
QPushButton *makeButton(const QString &caption, QWidget *parent, const char *name = nullptr);

// A label whose text is shown as it stands, never read as markup (a name typed with
// '<' or '&' shows as typed).
QLabel *makeLabel(const QString &text, QWidget *parent);

// Gives each object its name ("exitButton", ...).
void nameObjects(std::initializer_list<std::pair<QObject *, const char *>> objects);

} // namespace widgets
