#pragma once

// A window's widget found by its object name, as a test reaches a control without the
// window exposing it. A name that is not there ends the test at once with the name, rather
// than with a crash on a null pointer somewhere later.

#include <QObject>
#include <QString>
#include <QtGlobal>

template <class T> T *namedChild(const QObject *parent, const char *name)
{
    T *child = parent->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no %s named \"%s\" in %s", T::staticMetaObject.className(), name,
               parent->metaObject()->className());
    return child;
}
