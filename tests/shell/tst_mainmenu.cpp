// The main menu: its window, its buttons, the first activation and the working date.
#include "namedchild.h"
#include "settings/workingdate.h"
#include "shell/mainmenu.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using shell::MainMenu;
using shell::MenuItem;

class TestMainMenu final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void window();
    void captions_data();
    void captions();
    void buttonsWaitForTheirWindows();
    void openerRunsAndFocusReturns();
    void firstActivation();
    void calendarClickSetsWorkingDate();

private:
    QPushButton *menuButton(MenuItem item) const
    {
        return namedChild<QPushButton>(menu_.get(), shell::menuButtonName(item));
    }
    QPushButton *exitButton() const { return namedChild<QPushButton>(menu_.get(), "exitButton"); }
    QCalendarWidget *calendar() const
    {
        return namedChild<QCalendarWidget>(menu_.get(), "workingDateCalendar");
    }

    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<MainMenu> menu_;
    QStringList shown_;
};

void TestMainMenu::init()
{
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    QVERIFY(QDir(work_->path()).mkpath("itog3"));
    shown_.clear();
    const auto sink = [this](const QString &text) { shown_.append(text); };
    menu_ = std::make_unique<MainMenu>(shell::WorkingFolder{QDir(work_->path())}, sink);
}

void TestMainMenu::window()
{
    menu_->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
    QCOMPARE(menu_->windowTitle(), QStringLiteral("Кормоплан"));
    QCOMPARE(menu_->size(), QSize(800, 600));
    QVERIFY(menu_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!menu_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const auto labels = menu_->findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
        return label->text() == QStringLiteral("Проверьте дату и установите нужную");
    }));
    QCOMPARE(exitButton()->text(), QStringLiteral("Выход"));
}

void TestMainMenu::captions_data()
{
    QTest::addColumn<MenuItem>("item");
    QTest::addColumn<QString>("caption");
    const QStringList captions{
        "Список характеристик питательности ",
        "Список сырья",
        "Список типов комбикормов",
        "Расчет рецептов",
        "Расчет характеристик смеси",
        "Работа с архивом рецептов",
        "Параметры",
        "Архивирование данных на резервный носитель",
        "Восстановление данных с резервного носителя",
        "Инструкция по работе со списком характеристик питательности",
        "Инструкция по работе со списком сырья",
        "Инструкция по работе со списком типов комбикормов ",
        "Инструкция по расчету рецептов",
        "Инструкция по расчету характеристик смеси",
        "Инструкция по работе с архивом рецептов",
        "Инструкция по работе с Параметрами",
        "Инструкция по работе с резервным носителем",
    };
    QCOMPARE(captions.size(), shell::kMenuItemCount);
    for (int i = 0; i < captions.size(); ++i)
        QTest::newRow(qPrintable(QString::number(i))) << MenuItem(i) << captions[i];
}

// Every task has its button with the caption byte for byte (trailing blanks included).
void TestMainMenu::captions()
{
    QFETCH(MenuItem, item);
    QFETCH(QString, caption);
    QCOMPARE(menuButton(item)->text(), caption);
    const auto buttons = menu_->findChildren<QPushButton *>();
    QCOMPARE(std::count_if(buttons.begin(), buttons.end(),
                           [&](const QPushButton *b) { return b->text() == caption; }),
             1);
}

void TestMainMenu::buttonsWaitForTheirWindows()
{
    for (int i = 0; i < shell::kMenuItemCount; ++i) {
        const QPushButton *button = menuButton(MenuItem(i));
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
        QVERIFY(!button->toolTip().isEmpty());
    }
    QVERIFY(exitButton()->isEnabled());
}

// A task with an opener is enabled; a press opens its window, and the focus is back
// on the button afterwards. Taking the opener away disables it again.
void TestMainMenu::openerRunsAndFocusReturns()
{
    menu_->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
    int opened = 0;
    menu_->setOpener(MenuItem::Calculation, [&] {
        ++opened;
        exitButton()->setFocus(); // the opened window moves the focus away
    });
    QPushButton *button = menuButton(MenuItem::Calculation);
    QVERIFY(button->isEnabled());
    QVERIFY(button->toolTip().isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(opened, 1);
    QVERIFY(button->hasFocus());

    menu_->setOpener(MenuItem::Calculation, nullptr);
    QVERIFY(!button->isEnabled());
}

// The first showing sets the working date to today and reads the settings, telling in
// one message what is wrong with them; showing again does not repeat it.
void TestMainMenu::firstActivation()
{
    settings::setWorkingDate(QDate::currentDate().addDays(-10));
    QSignalSpy done(menu_.get(), &MainMenu::firstActivationDone);
    menu_->show();
    QVERIFY(done.wait(5000) || done.count() == 1);
    QCOMPARE(settings::workingDate(), QDate::currentDate());
    QCOMPARE(calendar()->selectedDate(), QDate::currentDate());
    QCOMPARE(shown_.size(), 1); // no cons.txt in this working folder
    QVERIFY(shown_.first().contains("cons.txt"));

    menu_->hide();
    menu_->show();
    QTest::qWait(50);
    QCOMPARE(done.count(), 1);
    QCOMPARE(shown_.size(), 1);
}

// A click on a day of the calendar makes it the working date.
void TestMainMenu::calendarClickSetsWorkingDate()
{
    QSignalSpy done(menu_.get(), &MainMenu::firstActivationDone);
    menu_->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
    QVERIFY(done.count() == 1 || done.wait(5000));

    auto *view = calendar()->findChild<QTableView *>();
    QVERIFY(view);
    // Row 0 holds the day names; the third week always lies within the shown month.
    const QModelIndex cell = view->model()->index(3, 3);
    const int day = view->model()->data(cell).toInt();
    const QDate today = QDate::currentDate();
    const QDate picked(today.year(), today.month(), day);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    QCOMPARE(calendar()->selectedDate(), picked);
    QCOMPARE(settings::workingDate(), picked);
}

QTEST_MAIN(TestMainMenu)
#include "tst_mainmenu.moc"
