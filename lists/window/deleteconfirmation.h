#pragma once

// TForm7: the delete confirmation dialog shared by the three list windows.
//
//     TForm7 confirm(this);
//     confirm.exec();
//     if (confirm.confirmed()) ...

#include <QDialog>

class QPushButton;

class TForm7 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm7)

public:
    explicit TForm7(QWidget *parent = nullptr);

    // The answer of the last time the dialog was shown: "Удалять" was pressed.
    bool confirmed() const { return confirmed_; }
    int exec() override;

    QPushButton *Button1; // "Удалять"
    QPushButton *Button2; // "Отменить удаление"

    // Shows the dialog over parent and returns the answer.
    static bool ask(QWidget *parent);

private:
    void Button1Click();

    bool confirmed_ = false;
};
