#pragma once

// Typing as the user does it: keys go to whatever holds the keyboard focus, one at a
// time, and what each key sets off (a message box among it) is over before the next.
// The message boxes that come up are taken down and dismissed by Enter or by a click on
// their button, as the user would.
//
//     typing::MessageCatcher boxes(typing::Dismiss::Mouse);
//     typing::typeKeys(QStringLiteral("1a"));
//     QCOMPARE(boxes.texts, QStringList{"..."});
//     typing::pressKey(Qt::Key_Backspace);

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace typing
{

enum class Dismiss { Key, Mouse };

// Lets what the last key set off run to its end: each round handles what the round
// before posted (a cell's editor commits after Enter, a message follows the commit).
inline void settle()
{
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();
}

// The widget keys go to: the focused one, else the active window.
inline QWidget *keyTarget()
{
    settle(); // a window activated meanwhile takes the keys
    if (QWidget *focused = QApplication::focusWidget())
        return focused;
    return QApplication::activeWindow();
}

inline void pressKey(Qt::Key key)
{
    if (QWidget *target = keyTarget())
        QTest::keyClick(target, key);
    settle();
}

inline void typeKeys(const QString &text)
{
    for (const QChar c : text) {
        if (QWidget *target = keyTarget())
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        settle();
    }
}

// While it lives, every message box that comes up is taken down and dismissed.
class MessageCatcher final
{
public:
    explicit MessageCatcher(Dismiss how) : how_(how)
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { catchBox(); });
        poll_.start(5);
    }
    Q_DISABLE_COPY_MOVE(MessageCatcher)

    QStringList texts;

private:
    void catchBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("kpCaught").toBool())
            return;
        box->setProperty("kpCaught", true);
        // every message of the program is captioned with its title
        texts.append(
            box->windowTitle() == QStringLiteral("Кормоплан")
                ? box->text()
                : QStringLiteral("caption \"%1\": %2").arg(box->windowTitle(), box->text()));
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        if (!ok && !box->buttons().isEmpty())
            ok = box->buttons().constFirst();
        if (how_ == Dismiss::Mouse && ok) {
            QTest::mouseClick(ok, Qt::LeftButton);
            return;
        }
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused && box->isAncestorOf(focused) ? focused : box, Qt::Key_Return);
    }

    Dismiss how_;
    QTimer poll_;
};

} // namespace typing
