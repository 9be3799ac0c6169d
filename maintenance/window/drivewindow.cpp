#include "maintenance/window/drivewindow.h"

#include "platform/volumes.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance
{

namespace
{

const QString kChooseText =
    QStringLiteral("Выберите носитель в списке или нажмите \"Другая папка…\".");

QLabel *textLine(const QString &text, QWidget *parent)
{
    QLabel *label = widgets::makeLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// "STICK — /media/anna/STICK (съемный носитель)"; the letter first on Windows.
QString volumeText(const platform::Volume &volume)
{
    QStringList parts;
    if (!volume.shortName.isEmpty())
        parts.append(volume.shortName);
    if (!volume.label.isEmpty())
        parts.append(volume.label);
    parts.append(QStringLiteral("— %1 (%2)")
                     .arg(QDir::toNativeSeparators(volume.root),
                          volume.kind == platform::Volume::Kind::Network
                              ? QStringLiteral("сетевой диск")
                              : QStringLiteral("съемный носитель")));
    return parts.join(QLatin1Char(' '));
}

QListWidgetItem *addChoice(QListWidget *list, const QString &text, const QString &folder)
{
    auto *item = new QListWidgetItem(text, list);
    item->setData(Qt::UserRole, folder);
    item->setToolTip(QDir::toNativeSeparators(folder));
    return item;
}

} // namespace

DriveWindow::DriveWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                         const DriveWindowTexts &texts, Operation operation,
                         FolderOfChoice folderOf, QWidget *parent)
    : QDialog(parent), data_(data), volumes_(volumes), texts_(texts), operation_(operation),
      folderOf_(folderOf)
{
    setWindowTitle(texts.caption);
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    chooser_ = [this](const QString &start) {
        return QFileDialog::getExistingDirectory(this, texts_.folderDialogCaption, start);
    };
    buildLayout();
    resize(680, 440);
}

void DriveWindow::buildLayout()
{
    auto *page = new QVBoxLayout(this);
    for (const QString &line : texts_.lines)
        page->addWidget(textLine(line, this));
    page->addSpacing(8);
    page->addWidget(widgets::makeLabel(texts_.listLabel, this));

    volumeList = new QListWidget(this);
    volumeList->setObjectName(QStringLiteral("volumeList"));
    volumeList->setMaximumHeight(120);
    connect(volumeList, &QListWidget::currentItemChanged, this, &DriveWindow::showFolder);
    otherFolderButton =
        widgets::makeButton(QStringLiteral("Другая папка…"), this, "otherFolderButton");
    otherFolderButton->setAutoDefault(false); // Enter runs the operation, not the dialog
    connect(otherFolderButton, &QPushButton::clicked, this, &DriveWindow::onOtherFolder);
    auto *choice = new QGridLayout;
    choice->addWidget(volumeList, 0, 0, 2, 1);
    choice->addWidget(otherFolderButton, 0, 1, Qt::AlignTop);
    choice->setColumnStretch(0, 1);
    page->addLayout(choice);
    folderLine = textLine(QString(), this);
    page->addWidget(folderLine);

    for (const QString &line : texts_.linesBelow)
        page->addWidget(textLine(line, this));
    waitLine = textLine(texts_.waitLine, this);
    QSizePolicy keepRoom = waitLine->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true); // the window does not jump when it shows
    waitLine->setSizePolicy(keepRoom);
    waitLine->hide();
    page->addWidget(waitLine);
    widgets::nameObjects({{folderLine, "folderLine"}, {waitLine, "waitLine"}});
    page->addStretch();

    runButton = widgets::makeButton(texts_.runCaption, this, "runButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    for (QPushButton *button : {runButton, exitButton})
        button->setMinimumSize(160, 30);
    runButton->setDefault(true); // Enter in the list runs the operation
    connect(runButton, &QPushButton::clicked, this, &DriveWindow::onRun);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(runButton);
    buttons->addStretch();
    buttons->addWidget(exitButton);
    page->addLayout(buttons);
}

void DriveWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    listVolumes();
    volumeList->setFocus();
}

// A stick plugged in while the window was in the background shows up when it is back.
bool DriveWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && volumeList)
        listVolumes();
    return QDialog::event(event);
}

QString DriveWindow::chosen() const
{
    const QListWidgetItem *item = volumeList->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
}

// The volumes mounted now, then the other folder; the choice stays on what it was on,
// else it goes to the first entry (the line under the list names the folder).
void DriveWindow::listVolumes()
{
    const QString was = chosen();
    const QSignalBlocker quiet(volumeList);
    volumeList->clear();
    for (const platform::Volume &volume : volumes_.volumes())
        addChoice(volumeList, volumeText(volume), volume.root);
    if (volumeList->count() == 0) {
        auto *none = new QListWidgetItem(QStringLiteral("Съемные и сетевые носители не найдены"),
                                         volumeList);
        none->setFlags(Qt::NoItemFlags);
    }
    if (!otherFolder_.isEmpty())
        addChoice(volumeList,
                  QStringLiteral("Другая папка — %1").arg(QDir::toNativeSeparators(otherFolder_)),
                  otherFolder_);
    int row = -1;
    for (int i = 0; i < volumeList->count(); ++i) {
        const QString folder = volumeList->item(i)->data(Qt::UserRole).toString();
        if (folder.isEmpty())
            continue;
        if (row < 0 || folder == was)
            row = i;
        if (folder == was)
            break;
    }
    if (row >= 0)
        volumeList->setCurrentRow(row);
    showFolder();
}

void DriveWindow::showFolder()
{
    const QString choice = chosen();
    const QString folder = choice.isEmpty() ? QString() : folderOf_(choice);
    folderLine->setText(choice.isEmpty() ? kChooseText
                        : folder.isEmpty()
                            ? texts_.noFolderLine
                            : texts_.folderLine.arg(QDir::toNativeSeparators(folder)));
}

void DriveWindow::onOtherFolder()
{
    const QString start = otherFolder_.isEmpty() ? QDir::homePath() : otherFolder_;
    const QString folder = chooser_(start);
    if (folder.isEmpty())
        return;
    otherFolder_ = QDir::cleanPath(folder);
    listVolumes();
    volumeList->setCurrentRow(volumeList->count() - 1);
    volumeList->setFocus();
    emit folderChosen(otherFolder_);
}

void DriveWindow::offerFolder(const QString &folder)
{
    if (!otherFolder_.isEmpty() || folder.isEmpty())
        return;
    otherFolder_ = folder;
    if (isVisible())
        listVolumes();
}

void shareChosenFolders(DriveWindow &backup, DriveWindow &restore)
{
    QObject::connect(&backup, &DriveWindow::folderChosen, &restore, &DriveWindow::offerFolder);
    QObject::connect(&restore, &DriveWindow::folderChosen, &backup, &DriveWindow::offerFolder);
}

void DriveWindow::onRun()
{
    const QString choice = chosen();
    if (choice.isEmpty()) {
        sink_(kChooseText);
        volumeList->setFocus();
        return;
    }
    if (confirm_ && !confirm_(choice))
        return;
    waitLine->show();
    waitLine->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lastResult_ = operation_(data_, choice);
    QApplication::restoreOverrideCursor();
    waitLine->hide();
    showFolder(); // a restore's source may have appeared with the backup
    for (const QString &message : lastResult_.messages)
        sink_(message);
}

} // namespace maintenance
