#pragma once

// ParametersWindow, "Параметры": the parameters window: enterprise data, signatories, costs and
// price rules.
//
// Each time it is opened it shows the process-wide settings; "Сохранить" writes them to
// cons.txt and reads them back, so that every window sees the new values at once, and so
// does every close (by "Выход", Esc or the window's close box). A line beside the buttons
// says whether what the fields show is saved, or why not. The five number fields keep two decimals
// at a fixed point and show their value right-aligned (" 2.50", "  1200.00").

#include "settings/settings.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace settings
{

class ParametersWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ParametersWindow)

public:
    // dataDir: the data directory whose cons.txt the window writes.
    explicit ParametersWindow(QWidget *parent = nullptr,
                              const QString &dataDir = QStringLiteral("itog3"));

    // What the last close could not do (characters replaced, file not written); they
    // have been shown in a message box.
    QStringList lastProblems() const { return problems; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void onActivate();
    void onClose();
    void onSave();
    void save();
    void markChanged();
    void showValues();

    QWidget *buildTextFields();
    QLayout *buildNumbersAndChoices();
    QLayout *buildButtonRow();
    QLabel *makeLabel(int line, QWidget *parent);
    QGroupBox *buildPair(int pair);
    QLineEdit *makeField(int line);
    void setTabOrderByLines();
    void showNumber(int line, double value);
    double numberInField(int line) const;
    settings::Settings valuesInFields() const;

    QString dataDir;
    bool active = false; // shown since the last close: the next close writes the file
    QStringList problems;
    // Named "line<N>" after their line of the file.
    std::array<QLineEdit *, 25> fields{};     // by file line, 1-24
    std::array<QRadioButton *, 31> choices{}; // by file line, 25-30
    std::array<QButtonGroup *, 3> pairs{};
    QPushButton *exitButton = nullptr;
    QPushButton *saveButton = nullptr;
    QLabel *savedLabel = nullptr; // saved or not
};

} // namespace settings
