#pragma once

// DeleteConfirmation: the delete confirmation dialog shared by the three list windows.
//
//     DeleteConfirmation confirm(this);
//     confirm.exec();
//     if (confirm.confirmed()) ...

#include <QDialog>

class QPushButton;

namespace lists
{

class DeleteConfirmation final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DeleteConfirmation)

public:
    explicit DeleteConfirmation(QWidget *parent = nullptr);

    // The answer of the last time the dialog was shown: "Удалять" was pressed.
    bool confirmed() const { return confirmed_; }
    int exec() override;

    // Shows the dialog over parent and returns the answer.
    static bool ask(QWidget *parent);

private:
    void onConfirm();

    QPushButton *confirmButton; // "Удалять"
    QPushButton *cancelButton;  // "Отменить удаление", the default
    bool confirmed_ = false;
};

} // namespace lists
