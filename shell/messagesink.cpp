#include "shell/messagesink.h"

#include "widgets/message.h"

#include <QApplication>

namespace shell
{

MessageSink messageBoxSink()
{
    return [](const QString &text) { widgets::showMessage(QApplication::activeWindow(), text); };
}

Question questionBox(const QString &yes, const QString &no)
{
    return [yes, no](const QString &text) {
        return widgets::askQuestion(QApplication::activeWindow(), text, yes, no);
    };
}

} // namespace shell
