#include "widgets/windowparts.h"

#include <QLabel>
#include <QPushButton>

namespace widgets
{

QPushButton *makeButton(const QString &caption, QWidget *parent, const char *name)
{
    auto *button = new QPushButton(caption, parent);
    if (name)
        button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel *makeLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

void nameObjects(std::initializer_list<std::pair<QObject *, const char *>> objects)
{
    for (const auto &[object, name] : objects)
        object->setObjectName(QString::fromLatin1(name));
}

} // namespace widgets
