#include "widgets/message.h"

#include "store/table.h"
#include "widgets/applicationtitle.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace widgets
{

namespace
{

void appendToLog(const QString &text)
{
    const QString path = qEnvironmentVariable("KORMOPLAN_MESSAGE_LOG");
    if (path.isEmpty())
        return;
    QFile log(path);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append))
        log.write(text.toUtf8() + '\n');
}

} // namespace

void showMessage(QWidget *parent, const QString &text)
{
    appendToLog(text);
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool askQuestion(QWidget *parent, const QString &text, const QString &yes, const QString &no)
{
    appendToLog(text);
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, parent);
    QPushButton *first = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton *second = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(second);
    box.setEscapeButton(second);
    box.exec();
    return box.clickedButton() == first;
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
