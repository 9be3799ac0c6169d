#include "shell/singleinstance.h"

#include <QApplication>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

namespace shell
{

namespace
{

constexpr int kAnswerMs = 2000;

void restore(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

} // namespace

QString instanceSocketName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) // Qt then puts the socket into the temporary folder
        return QStringLiteral("kormoplan-") + qEnvironmentVariable("USER");
    return QDir(runtime).filePath(QStringLiteral("kormoplan.socket"));
}

bool askRunningCopyToFront(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    // the connection itself is the request; a copy busy in a calculation takes it later
    socket.disconnectFromServer();
    return true;
}

InstanceServer::InstanceServer(QObject *parent) : QObject(parent)
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_.nextPendingConnection())
            socket->deleteLater();
        emit frontRequested();
    });
}

QString InstanceServer::listen(const QString &name)
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(name))
        return {};
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
        // left behind by a copy that ended abnormally: nobody answered on it
        QLocalServer::removeServer(name);
        if (server_.listen(name))
            return {};
    }
    return QStringLiteral("Защита от второй копии программы не работает: %1")
        .arg(server_.errorString());
}

void bringToFront(QWidget *mainWindow)
{
    if (mainWindow)
        restore(mainWindow);
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = mainWindow;
    if (!front)
        return;
    restore(front);
    front->raise();
    front->activateWindow();
}

} // namespace shell
