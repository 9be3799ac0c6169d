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
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("Инструкция"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(widgets::fixedPitchFont(15));
    ListBox1->setWordWrap(false);
    ListBox1->setSelectionMode(QAbstractItemView::NoSelection); // a text to read, not a choice
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Button1 = widgets::makeButton(QStringLiteral("Выход"), this);
    Button1->setMinimumSize(120, 30);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto *page = new QVBoxLayout(this);
    page->addWidget(ListBox1, 1);
    page->addLayout(buttons);
    resize(820, 640);
}

void InstructionsWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void InstructionsWindow::FormActivate()
{
    ListBox1->clear();
    const InstructionText text = readInstruction(dataDir_, instruction_);
    if (!text.error.isEmpty()) {
        ListBox1->setFont(font()); // the message reads as a message, not as a text line
        ListBox1->addItem(text.error);
    } else {
        ListBox1->setFont(widgets::fixedPitchFont(15));
        ListBox1->addItems(text.lines);
    }
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
    ListBox1->setFocus(); // scrolled by the arrows and page keys
}

void InstructionsWindow::done(int result)
{
    ListBox1->clear(); // however the window closes
    QDialog::done(result);
}

} // namespace maintenance
