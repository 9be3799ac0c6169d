#include "widgets/editmessage.h"

#include "widgets/message.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTimer>

namespace widgets
{

namespace
{

// A cell edit going on: the view, its cell, the typed text and where the cursor stood.
struct CellEdit {
    QPointer<QAbstractItemView> view;
    QPersistentModelIndex index;
    QString text;
    int cursor = 0;
};

// The line edit open on the view's current cell, if any.
QLineEdit *openEditor(const QAbstractItemView *view)
{
    return qobject_cast<QLineEdit *>(view->indexWidget(view->currentIndex()));
}

// The cell edit that holds the keyboard focus now; none when the focus is elsewhere.
CellEdit cellEditInProgress()
{
    CellEdit edit;
    QWidget *focused = QApplication::focusWidget();
    if (!focused || !focused->parentWidget())
        return edit;
    auto *view = qobject_cast<QAbstractItemView *>(focused->parentWidget()->parentWidget());
    if (!view || openEditor(view) != focused)
        return edit;
    const auto *line = static_cast<const QLineEdit *>(focused);
    edit.view = view;
    edit.index = view->currentIndex();
    edit.text = line->text();
    edit.cursor = line->cursorPosition();
    return edit;
}

// Just before the box: what the editor holds by now, if it is still open.
void takeLatestText(CellEdit &edit)
{
    if (!edit.view || edit.view->currentIndex() != edit.index)
        return;
    if (const QLineEdit *line = openEditor(edit.view)) {
        edit.text = line->text();
        edit.cursor = line->cursorPosition();
    }
}

// After the box: the editor again, unless it is still open or the user went elsewhere.
void resume(const CellEdit &edit)
{
    QAbstractItemView *view = edit.view;
    if (!view || !edit.index.isValid() || !view->isVisible() || !view->isEnabled())
        return;
    if (view->currentIndex() != edit.index || view->indexWidget(edit.index))
        return;
    if (!(edit.index.flags() & Qt::ItemIsEditable))
        return;
    view->setFocus();
    view->edit(edit.index);
    if (QLineEdit *line = openEditor(view)) {
        line->setText(edit.text);
        line->setCursorPosition(edit.cursor);
    }
}

} // namespace

void afterEdit(QWidget *window, std::function<void()> show)
{
    CellEdit edit = cellEditInProgress();
    QTimer::singleShot(0, window, [window, show = std::move(show), edit]() mutable {
        takeLatestText(edit);
        show();
        // Back from the box: the window takes the keys again (where the desktop does not
        // give them back by itself).
        if (window->isVisible() && !QApplication::activeWindow())
            window->activateWindow();
        resume(edit);
    });
}

void showMessageAfterEdit(QWidget *window, const QString &text)
{
    afterEdit(window, [window, text] { showMessage(window, text); });
}

} // namespace widgets
