#include "lists/message.h"

#include "store/table.h"

#include <QApplication>
#include <QMessageBox>

namespace lists
{

void showMessage(QWidget *parent, const QString &text)
{
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Кормоплан");
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool runReporting(QWidget *parent, const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const store::TableError &e) {
        showMessage(parent, e.message());
        return false;
    }
}

} // namespace lists
