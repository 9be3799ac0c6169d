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
    return askChoice(parent, text, {yes, no}) == 0;
}

bool askYesNo(QWidget *parent, const QString &text)
{
    return askQuestion(parent, text, QStringLiteral("Да"), QStringLiteral("Нет"));
}

int askChoice(QWidget *parent, const QString &text, const QStringList &answers)
{
    appendToLog(text);
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton, parent);
    Q_ASSERT(!answers.isEmpty());
    QList<QPushButton *> buttons;
    for (const QString &answer : answers) {
        const bool last = buttons.size() + 1 == answers.size();
        buttons.append(
            box.addButton(answer, last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    box.setDefaultButton(buttons.last());
    box.setEscapeButton(buttons.last());
    box.exec();
    const auto given = buttons.indexOf(static_cast<QPushButton *>(box.clickedButton()));
    return given < 0 ? int(answers.size()) - 1 : int(given);
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
