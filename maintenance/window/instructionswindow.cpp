#include "maintenance/window/instructionswindow.h"

#include "maintenance/instructions.h"
#include "widgets/fixedpitchfont.h"
#include "widgets/windowparts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance
{

InstructionsWindow::InstructionsWindow(const QString &dataDir, QWidget *parent)
    : QDialog(parent), dataDir_(dataDir)
{
    setObjectName(QStringLiteral("instructionsWindow"));
    setWindowTitle(QStringLiteral("Инструкция"));
    instructionList = new QListWidget(this);
    instructionList->setObjectName(QStringLiteral("instructionList"));
    instructionList->setFont(widgets::fixedPitchFont(15));
    instructionList->setWordWrap(false);
    instructionList->setSelectionMode(
        QAbstractItemView::NoSelection); // a text to read, not a choice
    instructionList->setTextElideMode(Qt::ElideNone);
    instructionList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    exitButton->setMinimumSize(120, 30);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exitButton);
    auto *page = new QVBoxLayout(this);
    page->addWidget(instructionList, 1);
    page->addLayout(buttons);
    resize(820, 640);
}

void InstructionsWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showInstruction();
}

void InstructionsWindow::showInstruction()
{
    instructionList->clear();
    const InstructionText text = readInstruction(dataDir_, instruction_);
    if (!text.error.isEmpty()) {
        instructionList->setFont(font()); // the message reads as a message, not as a text line
        instructionList->addItem(text.error);
    } else {
        instructionList->setFont(widgets::fixedPitchFont(15));
        instructionList->addItems(text.lines);
    }
    if (instructionList->count() > 0)
        instructionList->setCurrentRow(0);
    instructionList->setFocus(); // scrolled by the arrows and page keys
}

void InstructionsWindow::done(int result)
{
    instructionList->clear(); // however the window closes
    QDialog::done(result);
}

} // namespace maintenance
