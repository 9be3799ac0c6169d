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

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setMaximumHeight(120);
    connect(ListBox1, &QListWidget::currentItemChanged, this, &DriveWindow::showFolder);
    otherFolderButton_ = widgets::makeButton(QStringLiteral("Другая папка…"), this);
    otherFolderButton_->setAutoDefault(false); // Enter runs the operation, not the dialog
    connect(otherFolderButton_, &QPushButton::clicked, this, &DriveWindow::otherFolderClick);
    auto *choice = new QGridLayout;
    choice->addWidget(ListBox1, 0, 0, 2, 1);
    choice->addWidget(otherFolderButton_, 0, 1, Qt::AlignTop);
    choice->setColumnStretch(0, 1);
    page->addLayout(choice);
    folderLine_ = textLine(QString(), this);
    page->addWidget(folderLine_);

    for (const QString &line : texts_.linesBelow)
        page->addWidget(textLine(line, this));
    waitLine_ = textLine(texts_.waitLine, this);
    QSizePolicy keepRoom = waitLine_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true); // the window does not jump when it shows
    waitLine_->setSizePolicy(keepRoom);
    waitLine_->hide();
    page->addWidget(waitLine_);
    page->addStretch();

    Button1 = widgets::makeButton(texts_.runCaption, this);
    Button2 = widgets::makeButton(QStringLiteral("Выход"), this);
    for (QPushButton *button : {Button1, Button2})
        button->setMinimumSize(160, 30);
    Button1->setDefault(true); // Enter in the list runs the operation
    connect(Button1, &QPushButton::clicked, this, &DriveWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button2);
    page->addLayout(buttons);
}

void DriveWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    listVolumes();
    ListBox1->setFocus();
}

// A stick plugged in while the window was in the background shows up when it is back.
bool DriveWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && ListBox1)
        listVolumes();
    return QDialog::event(event);
}

QString DriveWindow::chosen() const
{
    const QListWidgetItem *item = ListBox1->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toString() : QString();
}

// The volumes mounted now, then the other folder; the choice stays on what it was on,
// else it goes to the first entry (the line under the list names the folder).
void DriveWindow::listVolumes()
{
    const QString was = chosen();
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    for (const platform::Volume &volume : volumes_.volumes())
        addChoice(ListBox1, volumeText(volume), volume.root);
    if (ListBox1->count() == 0) {
        auto *none =
            new QListWidgetItem(QStringLiteral("Съемные и сетевые носители не найдены"), ListBox1);
        none->setFlags(Qt::NoItemFlags);
    }
    if (!otherFolder_.isEmpty())
        addChoice(ListBox1,
                  QStringLiteral("Другая папка — %1").arg(QDir::toNativeSeparators(otherFolder_)),
                  otherFolder_);
    int row = -1;
    for (int i = 0; i < ListBox1->count(); ++i) {
        const QString folder = ListBox1->item(i)->data(Qt::UserRole).toString();
        if (folder.isEmpty())
            continue;
        if (row < 0 || folder == was)
            row = i;
        if (folder == was)
            break;
    }
    if (row >= 0)
        ListBox1->setCurrentRow(row);
    showFolder();
}

void DriveWindow::showFolder()
{
    const QString choice = chosen();
    const QString folder = choice.isEmpty() ? QString() : folderOf_(choice);
    folderLine_->setText(choice.isEmpty() ? kChooseText
                         : folder.isEmpty()
                             ? texts_.noFolderLine
                             : texts_.folderLine.arg(QDir::toNativeSeparators(folder)));
}

void DriveWindow::otherFolderClick()
{
    const QString start = otherFolder_.isEmpty() ? QDir::homePath() : otherFolder_;
    const QString folder = chooser_(start);
    if (folder.isEmpty())
        return;
    otherFolder_ = QDir::cleanPath(folder);
    listVolumes();
    ListBox1->setCurrentRow(ListBox1->count() - 1);
    ListBox1->setFocus();
}

void DriveWindow::Button1Click()
{
    const QString choice = chosen();
    if (choice.isEmpty()) {
        sink_(kChooseText);
        ListBox1->setFocus();
        return;
    }
    if (confirm_ && !confirm_(choice))
        return;
    waitLine_->show();
    waitLine_->repaint();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lastResult_ = operation_(data_, choice);
    QApplication::restoreOverrideCursor();
    waitLine_->hide();
    showFolder(); // a restore's source may have appeared with the backup
    for (const QString &message : lastResult_.messages)
        sink_(message);
}

} // namespace maintenance
