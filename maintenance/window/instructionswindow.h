#pragma once

// InstructionsWindow, "Инструкция": one of the eight instruction texts of the data directory, one
// list line per file line, unwrapped, in a fixed-pitch font, scrolled by the keyboard.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace maintenance
{

class InstructionsWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstructionsWindow)

public:
    explicit InstructionsWindow(const QString &dataDir, QWidget *parent = nullptr);

    // The instruction the next opening shows, 1 ... 8 (set by the menu's buttons).
    void setInstruction(int number) { instruction_ = number; }
    int instruction() const { return instruction_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showInstruction();

    QString dataDir_;
    int instruction_ = 1;
    QListWidget *instructionList = nullptr;
    QPushButton *exitButton = nullptr;
};

} // namespace maintenance
