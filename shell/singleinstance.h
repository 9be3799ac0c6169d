#pragma once

// One running copy per user. The first copy listens on a local socket in the user's
// runtime folder; a later start finds it there, asks it to bring its window to the front
// and ends before it opens a window or touches a file. A copy that ended abnormally leaves
// its socket behind; the next start, finding nobody answering there, takes the name over.

#include <QLocalServer>
#include <QObject>
#include <QString>

class QWidget;

namespace shell
{

// The socket's path: kormoplan.socket in the user's runtime folder (XDG_RUNTIME_DIR).
QString instanceSocketName();

// True when a running copy answered on `name`: it was asked to come to the front.
bool askRunningCopyToFront(const QString &name);

class InstanceServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceServer)

public:
    explicit InstanceServer(QObject *parent = nullptr);

    // Listens on `name`, taking over a name that nobody answers on; the reason in
    // Russian when it cannot (the program then runs without the guard).
    QString listen(const QString &name);

signals:
    // A later start asked for the window.
    void frontRequested();

private:
    QLocalServer server_;
};

// Brings the program to the front: the modal window open now, else the main window. A
// minimised main window is restored first; nothing happens while neither exists.
void bringToFront(QWidget *mainWindow);

} // namespace shell
