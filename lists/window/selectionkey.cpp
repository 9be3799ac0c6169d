#include "lists/window/selectionkey.h"

#include "widgets/windowparts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lists
{

SelectionKeyDialog::SelectionKeyDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      keyEdit(new QLineEdit(this)),
      runButton(widgets::makeButton(QStringLiteral("Выполнить"), this, "runButton"))
{
    setWindowTitle(QStringLiteral("Выделение"));
    keyEdit->setObjectName(QStringLiteral("keyEdit"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(widgets::makeLabel(QStringLiteral("Введите ключ выделения"), this));
    layout->addWidget(keyEdit);
    layout->addWidget(runButton, 0, Qt::AlignHCenter);
    keyEdit->setMinimumWidth(280);
    // Enter is handled on its release in the field; the button is not a default button
    // (makeButton), so an empty field is not closed by Enter.
    keyEdit->installEventFilter(this);
    connect(runButton, &QPushButton::clicked, this, &QDialog::accept);
}

QString SelectionKeyDialog::key() const
{
    return keyEdit->text();
}

int SelectionKeyDialog::exec()
{
    keyEdit->clear();
    keyEdit->setFocus();
    return QDialog::exec();
}

void SelectionKeyDialog::reject()
{
    keyEdit->clear();
    QDialog::reject();
}

bool SelectionKeyDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == keyEdit &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyRelease && !keyEdit->text().isEmpty())
                accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString SelectionKeyDialog::ask(QWidget *parent)
{
    SelectionKeyDialog dialog(parent);
    dialog.exec();
    return dialog.key();
}

} // namespace lists
