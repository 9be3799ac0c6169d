#include "lists/window/deleteconfirmation.h"

#include "widgets/windowparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lists
{

DeleteConfirmation::DeleteConfirmation(QWidget *parent)
    : QDialog(parent), confirmButton(new QPushButton(QStringLiteral("Удалять"), this)),
      cancelButton(new QPushButton(QStringLiteral("Отменить удаление"), this))
{
    setWindowTitle(QStringLiteral("Внимание!!!"));
    widgets::nameObjects({{confirmButton, "confirmButton"}, {cancelButton, "cancelButton"}});
    auto *text = widgets::makeLabel(QStringLiteral("Подтвердите Ваше решение"), this);
    text->setAlignment(Qt::AlignCenter);
    QFont big = text->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    text->setFont(big);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(confirmButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    cancelButton->setDefault(true);
    connect(confirmButton, &QPushButton::clicked, this, &DeleteConfirmation::onConfirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int DeleteConfirmation::exec()
{
    confirmed_ = false;
    cancelButton->setFocus();
    return QDialog::exec();
}

void DeleteConfirmation::onConfirm()
{
    confirmed_ = true;
    accept();
}

bool DeleteConfirmation::ask(QWidget *parent)
{
    DeleteConfirmation dialog(parent);
    dialog.exec();
    return dialog.confirmed();
}

} // namespace lists
