#include "lists/window/deleteconfirmation.h"

#include "widgets/windowparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DeleteConfirmation::DeleteConfirmation(QWidget *parent)
    : QDialog(parent), Button1(new QPushButton(QStringLiteral("Удалять"), this)),
      Button2(new QPushButton(QStringLiteral("Отменить удаление"), this))
{
    setWindowTitle(QStringLiteral("Внимание!!!"));
    auto *text = widgets::makeLabel(QStringLiteral("Подтвердите Ваше решение"), this);
    text->setAlignment(Qt::AlignCenter);
    QFont big = text->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    text->setFont(big);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    Button2->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &DeleteConfirmation::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

int DeleteConfirmation::exec()
{
    confirmed_ = false;
    Button2->setFocus();
    return QDialog::exec();
}

void DeleteConfirmation::Button1Click()
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
