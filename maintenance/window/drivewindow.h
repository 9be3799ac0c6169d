#pragma once

// The frame shared by the backup window and the restore window: the instructions, the
// list of the removable and network volumes mounted now (label and mount point), the
// button "Другая папка…" for any folder, the folder the copy goes to or comes from, the
// operation's button and "Выход". The list is read again whenever the window becomes
// active, so a stick plugged in meanwhile shows up. Each window gives its texts and its
// operation; the frame runs it on the chosen volume or folder, shows a line saying it
// runs while it runs, and shows what it reports, one message after another.

#include "maintenance/backuprestore.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace platform
{
class VolumeSource;
}

namespace store
{
class DataModule;
}

namespace maintenance
{

struct DriveWindowTexts {
    QString caption;
    QStringList lines; // above the list, one label each
    QString listLabel;
    QString folderDialogCaption;
    QString folderLine;     // the folder the operation reads or writes: %1
    QString noFolderLine;   // shown when the choice offers no such folder
    QStringList linesBelow; // under the list
    QString waitLine;       // shown while the operation runs
    QString runCaption;     // the operation's button
};

using Operation = OperationResult (*)(store::DataModule &, const QString &chosen);
// The folder the operation would read or write for a choice; empty when none.
using FolderOfChoice = QString (*)(const QString &chosen);

class DriveWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriveWindow)

public:
    using MessageSink = std::function<void(const QString &text)>;
    // Asks for a folder starting at the one given; empty when the user gives up.
    using FolderChooser = std::function<QString(const QString &start)>;

    // Where the messages go: a message box over the window unless a test takes them.
    void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }
    // The folder dialog of "Другая папка…", unless a test answers for it.
    void setFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }

    // The volume or folder chosen in the list; empty when none.
    QString chosen() const;
    // Offers folder in the list as the other folder (the one the other window of the pair
    // chose), unless the list offers one already.
    void offerFolder(const QString &folder);
    // What the last press of the operation's button came to.
    const OperationResult &lastResult() const { return lastResult_; }

signals:
    // "Другая папка…" chose folder.
    void folderChosen(const QString &folder);

protected:
    DriveWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                const DriveWindowTexts &texts, Operation operation, FolderOfChoice folderOf,
                QWidget *parent);

    // Asked with the choice before the operation runs; false stops it.
    using Confirmation = std::function<bool(const QString &chosen)>;
    void setConfirmation(Confirmation confirm) { confirm_ = std::move(confirm); }

    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void onRun();
    void onOtherFolder();
    void listVolumes();
    void showFolder();
    void buildLayout();

    store::DataModule &data_;
    const platform::VolumeSource &volumes_;
    DriveWindowTexts texts_;
    Operation operation_;
    FolderOfChoice folderOf_;
    Confirmation confirm_;
    MessageSink sink_;
    FolderChooser chooser_;
    OperationResult lastResult_;
    QString otherFolder_;              // chosen by "Другая папка…", kept in the list
    QListWidget *volumeList = nullptr; // the volumes, then the other folder
    QPushButton *otherFolderButton = nullptr;
    QLabel *folderLine = nullptr; // the folder the operation reads or writes
    QLabel *waitLine = nullptr;
    QPushButton *runButton = nullptr; // the operation
    QPushButton *exitButton = nullptr;
};

// The backup and the restore window offer each other the folder chosen by "Другая папка…",
// so that a copy made into a folder of one's own is found there for the restore.
void shareChosenFolders(DriveWindow &backup, DriveWindow &restore);

} // namespace maintenance
