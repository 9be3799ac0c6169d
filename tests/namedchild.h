#pragma once

// A window's widget found by its object name, as a test reaches a control without the
// window exposing it. Only the window's own controls count: windows opened over it (its
// children too) have buttons of the same names. A name that is not there ends the test
// at once with the name, rather than with a crash on a null pointer somewhere later.

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtGlobal>

template <class T> T *namedChild(const QObject *parent, const char *name)
{
    const auto *parentWidget = qobject_cast<const QWidget *>(parent);
    for (T *child : parent->findChildren<T *>(QString::fromLatin1(name))) {
        const auto *widget = qobject_cast<const QWidget *>(child);
        if (!parentWidget || !widget || widget->window() == parentWidget->window())
            return child;
    }
    qFatal("no %s named \"%s\" in %s", T::staticMetaObject.className(), name,
           parent->metaObject()->className());
    return nullptr;
}
