// kp-listwindows DATADIR characteristics|raw|feed PICTURE.png [norms] [select] [bench]
// Opens a list window on a copy of DATADIR, as the main menu would, and saves a picture
// of it. "norms" shows the norms panel of the feed types window; "select" selects the
// first three entries so that red rows can be seen; "bench" (feed types) prints how long
// a move to another feed type takes: the limits of the one left written, the new ones
// loaded.
#include "lists/window/characteristicswindow.h"
#include "lists/window/feedtypeswindow.h"
#include "lists/window/rawmaterialswindow.h"
#include "settings/settings.h"
#include "store/datamodule.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using lists::CharacteristicsWindow;
using lists::FeedTypesWindow;
using lists::RawMaterialsWindow;

namespace
{

bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

void benchFeedMoves(store::DataModule &dm)
{
    store::Table &kk = dm.feedTypes;
    const int moves = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < moves; ++i) {
        if (kk.viewPosition() + 1 < kk.viewCount())
            kk.next();
        else
            kk.first();
    }
    std::printf("feed types %d, raw materials %d: %.2f ms per move to another feed type\n",
                kk.viewCount(), dm.rawMaterials.viewCount(), double(timer.elapsed()) / moves);
}

// A button of the window by its object name; the tool stops when it is not there.
QPushButton *button(const QDialog &window, const char *name)
{
    auto *found = window.findChild<QPushButton *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

void selectFirst(QPushButton *select, store::Table &list)
{
    list.first();
    for (int i = 0; i < 3 && !list.eof(); ++i) {
        select->click();
        list.next();
    }
    list.first();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: kp-listwindows DATADIR characteristics|raw|feed "
                             "PICTURE.png [norms] [select]\n");
        return 2;
    }
    QTemporaryDir copy;
    if (!copyFolder(args.at(1), copy.path())) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(args.at(1)));
        return 1;
    }
    settings::ReadSettings(copy.path());
    QString error;
    auto dm = store::DataModule::create(copy.path(), &error);
    if (!dm) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    dm->setNormalState();
    dm->countSelected();

    std::unique_ptr<QDialog> window;
    const QString which = args.at(2);
    if (which == QLatin1String("characteristics"))
        window = std::make_unique<CharacteristicsWindow>(*dm);
    else if (which == QLatin1String("raw"))
        window = std::make_unique<RawMaterialsWindow>(*dm);
    else
        window = std::make_unique<FeedTypesWindow>(*dm);
    window->show();
    if (args.contains(QLatin1String("select"))) {
        if (dynamic_cast<RawMaterialsWindow *>(window.get()))
            selectFirst(button(*window, "selectButton"), dm->rawMaterials);
        if (dynamic_cast<FeedTypesWindow *>(window.get()))
            selectFirst(button(*window, "selectButton"), dm->feedTypes);
    }
    if (dynamic_cast<FeedTypesWindow *>(window.get()) && args.contains("norms"))
        button(*window, "panelSwitchButton")->click();
    if (auto *feed = dynamic_cast<FeedTypesWindow *>(window.get()); feed && args.contains("bench"))
        benchFeedMoves(*dm);
    const QString picture = args.at(3);
    QTimer::singleShot(800, window.get(), [&] {
        window->grab().save(picture);
        app.quit();
    });
    return app.exec();
}
