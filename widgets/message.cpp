#include "widgets/message.h"

#include "store/table.h"

#include <QApplication>
#include <QMessageBox>

namespace widgets
{

void showMessage(QWidget *parent, const QString &text)
{
    QString title = QApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QStringLiteral("Кормоплан");
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool runReporting(const std::function<void()> &operation,
                  const std::function<void(const QString &)> &show)
{
    try {
        operation();
        return true;
    } catch (const store::TableError &e) {
        show(e.message());
        return false;
    }
}

bool runReporting(QWidget *parent, const std::function<void()> &operation)
{
    return runReporting(operation, [parent](const QString &text) { showMessage(parent, text); });
}

} // namespace widgets
