#pragma once

// SelectionKeyDialog: the selection key dialog of the highlight search (lists and archive window).
// The caller reads key() after the dialog has closed; a key that trims to nothing means
// that no search is made.
//
//     SelectionKeyDialog dialog(this);
//     dialog.exec();
//     const QString key = dialog.key();

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace lists
{

class SelectionKeyDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectionKeyDialog)

public:
    explicit SelectionKeyDialog(QWidget *parent = nullptr);

    QString key() const;
    int exec() override;
    // Escape closes the dialog without a key: no search is made.
    void reject() override;

    // Shows the dialog over parent and returns the key typed.
    static QString ask(QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *keyEdit;
    QPushButton *runButton; // "Выполнить"
};

} // namespace lists
