#include "shell/messagesink.h"

#include "shell/applicationtitle.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace shell
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

MessageSink messageBoxSink()
{
    return [](const QString &text) {
        appendToLog(text);
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    };
}

Question questionBox(const QString &yes, const QString &no)
{
    return [yes, no](const QString &text) {
        appendToLog(text);
        QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                        QApplication::activeWindow());
        QPushButton *first = box.addButton(yes, QMessageBox::AcceptRole);
        QPushButton *second = box.addButton(no, QMessageBox::RejectRole);
        box.setDefaultButton(second);
        box.setEscapeButton(second);
        box.exec();
        return box.clickedButton() == first;
    };
}

} // namespace shell
