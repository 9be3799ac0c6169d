#pragma once

// A small data directory for the list window tests, made through store::Table in a
// temporary folder: pit with its 65 slots, kk and sir pools (smaller than the shipped
// ones, so that the pool-end guard is exercised too), norm, order and empty archive
// tables. Names are upper case ("ХАРАКТЕРИСТИКА 3", "СЫРЬЕ 7", "ТИП 2"), contents and
// norms are numbers that tell their slot (MI<key> of sir slot s = s * 100 + key).

#include "store/datamodule.h"
#include "store/table.h"

#include <QApplication>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

struct ListsData {
    int characteristics = 10; // pit count, the price record included
    int feedPool = 60;
    int feedCount = 8;
    int rawPool = 60;
    int rawCount = 8;
};

class ListsFixture final
{
public:
    explicit ListsFixture(const ListsData &data = {});
    ~ListsFixture();

    QString dir() const { return dir_.path(); }
    QString path(const QString &file) const { return dir_.filePath(file); }
    store::DataModule &dm() { return *dm_; }
    // Closes the data module and opens a new one, as a restart of the program does:
    // normal state, selected counts.
    void restart();

    // A fresh cursor on a table of the folder (index "order" for lists, "si" for norm),
    // to check what is on disk.
    std::unique_ptr<store::Table> fresh(const QString &file) const;
    // Field values of the list entries (order first ... count) in list order.
    QStringList listTexts(const QString &file, const QString &field, int first = 1) const;
    int count(const QString &field) const; // order.dbf

private:
    void build(const ListsData &data);

    QTemporaryDir dir_;
    std::unique_ptr<store::DataModule> dm_;
};

// Runs act on the next modal window of type T that opens, then stops watching; a safety
// timer closes any modal window left open after a few seconds, so a failed check cannot
// hang the test. Call before the operation that opens the window.
template <class T> void onNextModal(std::function<void(T *)> act)
{
    auto *poll = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, ticks] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(window); // may return early on a failed check ...
            if (QApplication::activeModalWidget() == window)
                window->close(); // ... then the window must not stay open
            return;
        }
        if (++*ticks > 800) { // about 4 s: whatever is modal now is closed
            poll->stop();
            poll->deleteLater();
            if (QWidget *stray = QApplication::activeModalWidget())
                stray->close();
        }
    });
    poll->start(5);
}

// The text of the next message box; it is closed with OK.
void catchNextMessage(QString *text);
