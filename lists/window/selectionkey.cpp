#include "lists/window/selectionkey.h"

#include "widgets/windowparts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SelectionKeyDialog::SelectionKeyDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Edit1(new QLineEdit(this)), Button1(widgets::makeButton(QStringLiteral("Выполнить"), this))
{
    setWindowTitle(QStringLiteral("Выделение"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(widgets::makeLabel(QStringLiteral("Введите ключ выделения"), this));
    layout->addWidget(Edit1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    Edit1->setMinimumWidth(280);
    // Enter is handled on its release in the field; the button is not a default button
    // (makeButton), so an empty field is not closed by Enter.
    Edit1->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

QString SelectionKeyDialog::key() const
{
    return Edit1->text();
}

int SelectionKeyDialog::exec()
{
    Edit1->clear();
    Edit1->setFocus();
    return QDialog::exec();
}

void SelectionKeyDialog::reject()
{
    Edit1->clear();
    QDialog::reject();
}

bool SelectionKeyDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyRelease && !Edit1->text().isEmpty())
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
