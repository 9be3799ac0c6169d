#include "maintenance/window/drivewindow.h"

#include "platform/driveletters.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance
{

namespace
{

QLabel *textLine(const QString &text, QWidget *parent)
{
    QLabel *label = widgets::makeLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

DriveWindow::DriveWindow(store::TDataModule2 &data, const platform::DriveLetters &drives,
                         const DriveWindowTexts &texts, Operation operation, QWidget *parent)
    : QDialog(parent), data_(data), drives_(drives), operation_(operation)
{
    setWindowTitle(texts.caption);
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    buildLayout(texts);
    resize(620, 400);
}

void DriveWindow::buildLayout(const DriveWindowTexts &texts)
{
    auto *page = new QVBoxLayout(this);
    for (const QString &line : texts.lines)
        page->addWidget(textLine(line, this));
    page->addSpacing(8);

    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->setMaxLength(1); // one character; the letter check judges it
    MaskEdit1->setFixedWidth(MaskEdit1->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 3 + 12);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->addWidget(widgets::makeLabel(texts.fieldLabel, this));
    fieldRow->addWidget(MaskEdit1);
    fieldRow->addStretch();
    page->addLayout(fieldRow);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFocusPolicy(Qt::NoFocus);
    ListBox1->setMaximumHeight(110);
    connect(ListBox1, &QListWidget::itemClicked, this, &DriveWindow::ListBox1Click);
    page->addWidget(ListBox1);

    for (const QString &line : texts.linesBelow)
        page->addWidget(textLine(line, this));
    page->addStretch();

    Button1 = widgets::makeButton(texts.runCaption, this);
    Button2 = widgets::makeButton(QStringLiteral("Выход"), this);
    for (QPushButton *button : {Button1, Button2})
        button->setMinimumSize(160, 30);
    Button1->setDefault(true); // Enter in the field runs the operation
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
    FormActivate();
}

void DriveWindow::FormActivate()
{
    listDrives(); // a stick may have been plugged in since the last time
    MaskEdit1->setFocus();
    MaskEdit1->selectAll();
}

void DriveWindow::listDrives()
{
    ListBox1->clear();
    const QList<platform::Drive> drives = drives_.drives();
    if (drives.isEmpty()) {
        ListBox1->addItem(QStringLiteral("Съемные и сетевые носители не найдены"));
        ListBox1->item(0)->setFlags(Qt::NoItemFlags);
        return;
    }
    for (const platform::Drive &drive : drives) {
        auto *item = new QListWidgetItem(
            QStringLiteral("%1:  %2").arg(drive.letter, drive.description), ListBox1);
        item->setData(Qt::UserRole, QString(drive.letter));
    }
}

// A click on a drive puts its letter into the field.
void DriveWindow::ListBox1Click()
{
    const QListWidgetItem *item = ListBox1->currentItem();
    if (!item || item->data(Qt::UserRole).toString().isEmpty())
        return;
    MaskEdit1->setText(item->data(Qt::UserRole).toString());
    MaskEdit1->setFocus();
}

void DriveWindow::Button1Click()
{
    if (confirm_ && !confirm_(MaskEdit1->text()))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lastResult_ = operation_(data_, drives_, MaskEdit1->text());
    QApplication::restoreOverrideCursor();
    for (const QString &message : lastResult_.messages)
        sink_(message);
    if (lastResult_.outcome == OperationResult::Outcome::BadLetter) {
        MaskEdit1->setFocus();
        MaskEdit1->selectAll();
    }
}

} // namespace maintenance
