#pragma once

// The main window MainMenu, the program's menu: the calendar of the working date and one
// button per task, each opening its window modally. A button stays disabled until the
// start-up gives it an opener, so a new window is switched on by one setOpener() call.

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

#include <QWidget>

#include <array>
#include <functional>

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace store
{
class DataModule;
}

namespace shell
{

// The menu's tasks, in the order of their buttons.
enum class MenuItem {
    Characteristics,    // CharacteristicsWindow
    RawMaterials,       // RawMaterialsWindow
    FeedTypes,          // FeedTypesWindow
    Calculation,        // PreparationWindow
    MixCharacteristics, // MixWindow
    Archive,            // ArchiveWindow
    Parameters,         // ParametersWindow
    Backup,             // BackupWindow
    Restore,            // RestoreWindow
    Instruction1,       // InstructionsWindow with instruction 1 ... 8
    Instruction2,
    Instruction3,
    Instruction4,
    Instruction5,
    Instruction6,
    Instruction7,
    Instruction8,
    Count
};

inline constexpr int kMenuItemCount = int(MenuItem::Count);
inline constexpr int kInstructionCount = 8;

// The button caption of a task.
QString menuCaption(MenuItem item);
// The task of instruction number 1 ... 8.
MenuItem instructionItem(int number);
// The object name of a task's button ("calculationButton").
const char *menuButtonName(MenuItem item);

class MainMenu final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainMenu)

public:
    using Opener = std::function<void()>;

    explicit MainMenu(const WorkingFolder &folder, const MessageSink &show = messageBoxSink(),
                      QWidget *parent = nullptr);
    ~MainMenu() override;

    // Enables the task's button; a press runs `open`, which shows its window modally.
    void setOpener(MenuItem item, Opener open);
    // The data module whose lists the first activation prepares (created after the menu).
    void setDataModule(store::DataModule *dataModule);
    // Runs once when the window closes, whatever closes it.
    void setCloseSequence(std::function<void()> close);

    bool activated() const { return activated_; }

public slots:
    // First activation after start-up: working date today, settings, the lists' normal
    // state and the selected counts. Later calls do nothing.
    void onActivate();

signals:
    void firstActivationDone();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    QPushButton *makeButton(MenuItem item);
    QPushButton *button(MenuItem item) const;
    void onOpenTask(MenuItem item);
    void onDateChosen();
    void readSettings();
    void prepareLists();

    WorkingFolder folder_;
    MessageSink show_;
    store::DataModule *dataModule_ = nullptr;
    std::function<void()> closeSequence_;
    std::array<Opener, kMenuItemCount> openers_;
    std::array<QPushButton *, kMenuItemCount> buttons_{};
    QLabel *dateLabel = nullptr;
    QCalendarWidget *workingDateCalendar = nullptr;
    QPushButton *exitButton = nullptr;
    bool activated_ = false;
    bool activationQueued_ = false;
    bool closed_ = false;
};

} // namespace shell
