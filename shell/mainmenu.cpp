#include "shell/mainmenu.h"

#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "store/table.h"
#include "widgets/applicationtitle.h"
#include "widgets/windowparts.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace shell
{

namespace
{

const QString kNotYet = QStringLiteral("Будет в следующей версии");

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QString menuCaption(MenuItem item)
{
    static const std::array<QString, kMenuItemCount> captions{
        QStringLiteral("Список характеристик питательности "),
        QStringLiteral("Список сырья"),
        QStringLiteral("Список типов комбикормов"),
        QStringLiteral("Расчет рецептов"),
        QStringLiteral("Расчет характеристик смеси"),
        QStringLiteral("Работа с архивом рецептов"),
        QStringLiteral("Параметры"),
        QStringLiteral("Архивирование данных на резервный носитель"),
        QStringLiteral("Восстановление данных с резервного носителя"),
        QStringLiteral("Инструкция по работе со списком характеристик питательности"),
        QStringLiteral("Инструкция по работе со списком сырья"),
        QStringLiteral("Инструкция по работе со списком типов комбикормов "),
        QStringLiteral("Инструкция по расчету рецептов"),
        QStringLiteral("Инструкция по расчету характеристик смеси"),
        QStringLiteral("Инструкция по работе с архивом рецептов"),
        QStringLiteral("Инструкция по работе с Параметрами"),
        QStringLiteral("Инструкция по работе с резервным носителем"),
    };
    return captions[size_t(item)];
}

const char *menuButtonName(MenuItem item)
{
    static const std::array<const char *, kMenuItemCount> names{
        "characteristicsButton",
        "rawMaterialsButton",
        "feedTypesButton",
        "calculationButton",
        "mixCharacteristicsButton",
        "archiveButton",
        "parametersButton",
        "backupButton",
        "restoreButton",
        "characteristicsInstructionButton",
        "rawMaterialsInstructionButton",
        "feedTypesInstructionButton",
        "calculationInstructionButton",
        "mixInstructionButton",
        "archiveInstructionButton",
        "parametersInstructionButton",
        "backupInstructionButton",
    };
    return names[size_t(item)];
}

MenuItem instructionItem(int number)
{
    Q_ASSERT(number >= 1 && number <= kInstructionCount);
    return MenuItem(int(MenuItem::Instruction1) + number - 1);
}

MainMenu::MainMenu(const WorkingFolder &folder, const MessageSink &show, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      folder_(folder), show_(show)
{
    setWindowTitle(widgets::applicationTitle());
    buildLayout();
    resize(800, 600);
}

MainMenu::~MainMenu() = default;

QPushButton *MainMenu::makeButton(MenuItem item)
{
    auto *button = widgets::makeButton(menuCaption(item), this, menuButtonName(item));
    button->setEnabled(false);
    button->setToolTip(kNotYet);
    if (item < MenuItem::Instruction1) {
        button->setMinimumHeight(32);
    } else { // the instructions are the second rank: a size smaller, so two fit a row
        QFont smaller = button->font();
        smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
        button->setFont(smaller);
        button->setMinimumHeight(28);
    }
    connect(button, &QPushButton::clicked, this, [this, item] { onOpenTask(item); });
    buttons_[size_t(item)] = button;
    return button;
}

void MainMenu::buildLayout()
{
    dateLabel = widgets::makeLabel(QStringLiteral("Проверьте дату и установите нужную"), this);
    dateLabel->setObjectName(QStringLiteral("dateLabel"));
    workingDateCalendar = new QCalendarWidget(this);
    workingDateCalendar->setObjectName(QStringLiteral("workingDateCalendar"));
    workingDateCalendar->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    workingDateCalendar->setFirstDayOfWeek(Qt::Monday);
    workingDateCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    workingDateCalendar->setSelectedDate(QDate::currentDate());
    workingDateCalendar->setFixedSize(300, 240);
    connect(workingDateCalendar, &QCalendarWidget::selectionChanged, this, &MainMenu::onDateChosen);

    auto *dateColumn = new QVBoxLayout;
    dateColumn->addWidget(dateLabel);
    dateColumn->addWidget(workingDateCalendar);
    dateColumn->addStretch();

    auto *tasks = new QVBoxLayout;
    for (int i = 0; i < int(MenuItem::Instruction1); ++i) {
        const auto item = MenuItem(i);
        if (item == MenuItem::Calculation || item == MenuItem::Archive || item == MenuItem::Backup)
            tasks->addSpacing(8);
        tasks->addWidget(makeButton(item));
    }
    tasks->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(dateColumn);
    top->addSpacing(12);
    top->addLayout(tasks, 1);

    auto *instructions = new QGridLayout;
    for (int number = 1; number <= kInstructionCount; ++number)
        instructions->addWidget(makeButton(instructionItem(number)), (number - 1) / 2,
                                (number - 1) % 2);
    instructions->setColumnStretch(0, 1);
    instructions->setColumnStretch(1, 1);

    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    exitButton->setMinimumSize(120, 28);
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(exitButton);

    auto *page = new QVBoxLayout(this);
    page->addLayout(top, 1);
    page->addWidget(separator(this));
    page->addLayout(instructions);
    page->addSpacing(8);
    page->addLayout(bottom);
}

void MainMenu::setOpener(MenuItem item, Opener open)
{
    openers_[size_t(item)] = std::move(open);
    QPushButton *b = button(item);
    b->setEnabled(bool(openers_[size_t(item)]));
    b->setToolTip(b->isEnabled() ? QString() : kNotYet);
}

void MainMenu::setDataModule(store::DataModule *dataModule)
{
    dataModule_ = dataModule;
}

void MainMenu::setCloseSequence(std::function<void()> close)
{
    closeSequence_ = std::move(close);
}

QPushButton *MainMenu::button(MenuItem item) const
{
    return buttons_[size_t(item)];
}

void MainMenu::onOpenTask(MenuItem item)
{
    const Opener &open = openers_[size_t(item)];
    if (!open)
        return;
    open();
    button(item)->setFocus(); // back on the task's button when its window closes
}

void MainMenu::onDateChosen()
{
    settings::setWorkingDate(workingDateCalendar->selectedDate());
}

void MainMenu::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (activated_ || activationQueued_)
        return;
    // Activation runs once the window is on screen, so its messages appear over it.
    activationQueued_ = true;
    QTimer::singleShot(0, this, &MainMenu::onActivate);
}

void MainMenu::onActivate()
{
    if (activated_)
        return;
    activated_ = true;
    const QDate today = QDate::currentDate();
    workingDateCalendar->setSelectedDate(today);
    settings::setWorkingDate(today);
    readSettings();
    prepareLists();
    emit firstActivationDone();
}

void MainMenu::readSettings()
{
    const settings::SettingsRead read = settings::ReadSettings(folder_.dataDir());
    if (!read.problems.isEmpty())
        show_(read.problems.join(QLatin1Char('\n')));
}

void MainMenu::prepareLists()
{
    if (!dataModule_)
        return;
    try {
        dataModule_->setNormalState();
        dataModule_->countSelected();
    } catch (const store::TableError &error) {
        show_(QStringLiteral("Списки не удалось подготовить к работе: ") + error.message());
    }
}

void MainMenu::closeEvent(QCloseEvent *event)
{
    if (!closed_ && closeSequence_) {
        closed_ = true;
        closeSequence_();
    }
    event->accept();
}

} // namespace shell
