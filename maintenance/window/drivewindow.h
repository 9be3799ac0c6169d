#pragma once

// The frame shared by the backup window and the restore window: the instructions, the
// letter field with the drives the letters stand for under it, the operation's button
// and "Выход". Each window gives its texts and its operation; the frame runs it with the
// typed letter and shows what it reports, one message after another.

#include "maintenance/backuprestore.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform
{
class DriveLetters;
}

namespace store
{
class TDataModule2;
}

namespace maintenance
{

struct DriveWindowTexts {
    QString caption;
    QStringList lines; // above the field, one label each
    QString fieldLabel;
    QStringList linesBelow; // under the drives
    QString runCaption;     // the operation's button
};

using Operation = OperationResult (*)(store::TDataModule2 &, const platform::DriveLetters &,
                                      const QString &);

class DriveWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriveWindow)

public:
    using MessageSink = std::function<void(const QString &text)>;

    // Where the messages go: a message box over the window unless a test takes them.
    void setMessageSink(MessageSink sink) { sink_ = std::move(sink); }

    QLineEdit *letterField() const { return MaskEdit1; }
    QListWidget *driveList() const { return ListBox1; }
    QPushButton *runButton() const { return Button1; }
    QPushButton *exitButton() const { return Button2; }
    // What the last press of the operation's button came to.
    const OperationResult &lastResult() const { return lastResult_; }

protected:
    DriveWindow(store::TDataModule2 &data, const platform::DriveLetters &drives,
                const DriveWindowTexts &texts, Operation operation, QWidget *parent);

    // Asked with the typed letter before the operation runs; false stops it.
    using Confirmation = std::function<bool(const QString &letterField)>;
    void setConfirmation(Confirmation confirm) { confirm_ = std::move(confirm); }

    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void Button1Click();
    void ListBox1Click();
    void listDrives();
    void buildLayout(const DriveWindowTexts &texts);

    store::TDataModule2 &data_;
    const platform::DriveLetters &drives_;
    Operation operation_;
    Confirmation confirm_;
    MessageSink sink_;
    OperationResult lastResult_;
    QLineEdit *MaskEdit1 = nullptr;  // the drive letter
    QListWidget *ListBox1 = nullptr; // the drives the letters stand for
    QPushButton *Button1 = nullptr;  // the operation
    QPushButton *Button2 = nullptr;  // "Выход"
};

} // namespace maintenance
