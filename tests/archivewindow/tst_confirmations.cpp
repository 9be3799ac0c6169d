// Every question asked before recipes are deleted or replaced or the data restored over,
// answered by key and by mouse: "Да" (or the other answer offered) does it; "Нет", a
// careless Enter and Escape leave the archive and the data as they were.

#include "archive/archivefixture.h"
#include "archive/window/archivewindow.h"
#include "calc/messageobserver.h"
#include "calc/run.h"
#include "maintenance/backuprestore.h"
#include "maintenance/window/restorewindow.h"
#include "namedchild.h"
#include "platform/volumes.h"
#include "results/window/resultswindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{

enum class Question {
    NewNumbering,
    DeleteRecipe,
    DeleteRange,
    ClearOutput,
    Restore,
    WriteAgain,
    HeldNumber
};
enum class Answer { Yes, Other, No, Escape }; // Other: "Записать под № N"
enum class Input { Key, Mouse };

bool answers(Answer answer, const QString &caption)
{
    switch (answer) {
    case Answer::Yes:
        return caption == QStringLiteral("Да") || caption.startsWith(QStringLiteral("Заменить"));
    case Answer::Other:
        return caption.startsWith(QStringLiteral("Записать под"));
    default:
        return caption == QStringLiteral("Нет") || caption == QStringLiteral("Отмена");
    }
}

// Answers every question box that opens while it lives and keeps its text: by key (Tab
// to the answer, then Enter; Enter alone for "Нет"; Escape) or by mouse (a click; the
// box closed for Escape). A box still open a second later is rejected, so that a failed
// answer cannot hang the test.
class Answerer final
{
public:
    Answerer(Answer answer, Input input) : answer_(answer), input_(input)
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { onPoll(); });
        poll_.start(10);
    }
    QStringList texts;
    bool stuck = false;

private:
    void onPoll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box == answered_) {
            if (++waited_ > 100) {
                stuck = true;
                box->reject();
            }
            return;
        }
        answered_ = box;
        waited_ = 0;
        texts << box->text();
        act(box);
    }

    void act(QMessageBox *box)
    {
        QAbstractButton *target = nullptr;
        for (QAbstractButton *b : box->buttons())
            target = answers(answer_, b->text()) ? b : target;
        if (answer_ == Answer::Escape && input_ == Input::Key)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (answer_ == Answer::No && input_ == Input::Key)
            QTest::keyClick(box, Qt::Key_Return); // a careless Enter
        else if (answer_ == Answer::Escape)
            box->close();
        else if (input_ == Input::Mouse && target)
            QTest::mouseClick(target, Qt::LeftButton);
        else if (target) {
            for (int tab = 0; tab < 4 && box->focusWidget() != target; ++tab)
                QTest::keyClick(box, Qt::Key_Tab);
            QTest::keyClick(box->focusWidget(), Qt::Key_Return);
        }
    }

    Answer answer_;
    Input input_;
    QTimer poll_;
    QPointer<QMessageBox> answered_;
    int waited_ = 0;
};

// What each question would change, as a text: before and after the answer.
struct Scenario {
    std::function<void()> ask;
    std::function<QString()> state;
    QStringList named; // what the question names
};

QString liveNumbers(archivetest::ArchiveData &data)
{
    QStringList live;
    data.forEachRow(QStringLiteral("arkk"), [&](store::Table &t) {
        if (t.integer("arnom") > 0)
            live << QStringLiteral("%1:%2")
                        .arg(t.integer("arnom"))
                        .arg(t.text("naim").contains(QStringLiteral("-1234.50-")) ? "old" : "new");
    });
    return live.join(u' ');
}

} // namespace

Q_DECLARE_METATYPE(Question)
Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Input)

class TestConfirmations final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void answeredQuestions_data();
    void answeredQuestions();

private:
    Scenario scenario(Question question);
    Scenario inArchiveWindow(const std::function<void()> &ask, QStringList named);
    Scenario inResultsWindow(bool writtenBefore, QStringList named);
    Scenario restore();

    std::unique_ptr<archivetest::ArchiveData> data_;
    std::unique_ptr<QWidget> window_;
    archive::ArchiveWindow *archiveWindow_ = nullptr; // window_, when it is the archive window
    std::unique_ptr<calc::RunResult> run_;            // of the results window
    std::unique_ptr<platform::FixedVolumes> volumes_;
};

void TestConfirmations::init()
{
    data_ = std::make_unique<archivetest::ArchiveData>();
    QVERIFY(data_->ok());
    data_->dm().setLastArchiveNumber(41);
    for (int n : {4, 5, 6, 7})
        data_->addRecipe(archivetest::sample(n));
}

void TestConfirmations::cleanup()
{
    window_.reset();
    volumes_.reset();
    data_.reset();
}

Scenario TestConfirmations::inArchiveWindow(const std::function<void()> &ask, QStringList named)
{
    archiveWindow_ = new archive::ArchiveWindow(data_->dm(), data_->workDir() + "/netpath.txt");
    window_.reset(archiveWindow_);
    archiveWindow_->show();
    data_->goTo(5);
    return {ask, [this] { return liveNumbers(*data_); }, named};
}

// The results window over a run of the demo data; the archive gets recipe 1 in the way,
// or the recipe of the first feed type written once already.
Scenario TestConfirmations::inResultsWindow(bool writtenBefore, QStringList named)
{
    data_->dm().setLastArchiveNumber(0);
    if (!writtenBefore)
        data_->addRecipe(archivetest::sample(1));
    for (store::Table *t : {&data_->dm().feedTypes, &data_->dm().rawMaterials}) {
        t->setFilter(QStringLiteral("ot='+'"));
        t->setFiltered(true);
    }
    calc::RunOptions options;
    options.parameters = calc::CalcParameters::fromSettings(settings::currentSettings());
    store::DataModule &dm = data_->dm();
    calc::MessageObserver quiet;
    run_ = std::make_unique<calc::RunResult>(calc::runCalculation(
        {&dm.characteristics, &dm.feedTypes, &dm.rawMaterials, &dm.inclusionNorms, &dm.counters},
        options, quiet));
    auto *form = new results::ResultsWindow(dm, *run_);
    window_.reset(form);
    form->setMessageSink([](const QString &text) { QFAIL(qPrintable(text)); });
    form->show();
    if (writtenBefore)
        namedChild<QPushButton>(form, "writeToArchiveButton")->click();
    return {[form] { namedChild<QPushButton>(form, "writeToArchiveButton")->click(); },
            [this] { return liveNumbers(*data_); }, named};
}

// The restore window, a backup on a stick made before a price was changed.
Scenario TestConfirmations::restore()
{
    const QString drive = data_->workDir() + "/stick";
    QDir().mkpath(drive);
    volumes_ = std::make_unique<platform::FixedVolumes>(
        QList<platform::Volume>{{drive, QStringLiteral("STICK"), QString()}});
    store::DataModule &dm = data_->dm();
    maintenance::runBackup(dm, drive);
    dm.rawMaterials.first();
    dm.rawMaterials.setNumber("MI1", dm.rawMaterials.number("MI1") + 500);
    dm.rawMaterials.post();
    auto *form = new maintenance::RestoreWindow(dm, *volumes_);
    window_.reset(form);
    form->setMessageSink([](const QString &) {});
    form->show(); // the stick is chosen, the only volume
    const double changed = dm.rawMaterials.number("MI1");
    return {[form] { namedChild<QPushButton>(form, "runButton")->click(); },
            [&dm, changed] {
                dm.rawMaterials.first();
                return dm.rawMaterials.number("MI1") == changed ? QStringLiteral("changed price")
                                                                : QStringLiteral("backup's price");
            },
            {QDir::toNativeSeparators(drive + "/arhivkpl"),
             QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))}};
}

Scenario TestConfirmations::scenario(Question question)
{
    switch (question) {
    case Question::NewNumbering: {
        Scenario s = inArchiveWindow(
            [this] { namedChild<QPushButton>(archiveWindow_, "restartNumberingButton")->click(); },
            {"Следующий рецепт получит № 1 и заменит рецепт № 1 в "
             "архиве, если он есть. Продолжить?"});
        s.state = [this] { return QString::number(data_->dm().lastArchiveNumber()); };
        return s;
    }
    case Question::DeleteRecipe:
        return inArchiveWindow(
            [this] { namedChild<QPushButton>(archiveWindow_, "deleteRecipeButton")->click(); },
            {"№ 5", "ПК-5-1234.50-5"});
    case Question::DeleteRange:
        return inArchiveWindow(
            [this] {
                namedChild<QPushButton>(archiveWindow_, "deleteRangeButton")->click();
                namedChild<QLineEdit>(archiveWindow_, "rangeFromEdit")->setText("5");
                namedChild<QLineEdit>(archiveWindow_, "rangeToEdit")->setText("7");
                namedChild<QPushButton>(archiveWindow_, "rangeDeleteButton")->click();
            },
            {"№ 5 по № 7", "всего 3"});
    case Question::ClearOutput: {
        Scenario s = inArchiveWindow(
            [this] { namedChild<QPushButton>(archiveWindow_, "clearOutputButton")->click(); },
            {"всего 4"});
        s.state = [this] {
            double output = 0;
            data_->forEachRow("arkk", [&](store::Table &t) { output += t.number("ves"); });
            return QString::number(output);
        };
        return s;
    }
    case Question::Restore:
        return restore();
    case Question::WriteAgain:
        return inResultsWindow(true, {"Рецепт уже записан в архив под № 1. Записать еще раз?"});
    case Question::HeldNumber:
        return inResultsWindow(false, {"№ 1", "ПК-1-1234.50-1", "05.03.2026", "№ 2"});
    }
    return {};
}

void TestConfirmations::answeredQuestions_data()
{
    QTest::addColumn<Question>("question");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<Input>("input");
    QTest::addColumn<QString>("expected");
    struct Outcomes {
        Question question;
        const char *name;
        QString yes, other, unchanged; // other: empty when not offered
    };
    const Outcomes outcomes[] = {
        {Question::NewNumbering, "new numbering", "0", {}, "41"},
        {Question::DeleteRecipe,
         "delete recipe",
         "4:old 6:old 7:old",
         {},
         "4:old 5:old 6:old 7:old"},
        {Question::DeleteRange, "delete range", "4:old", {}, "4:old 5:old 6:old 7:old"},
        {Question::ClearOutput, "clear output", "0", {}, "22"},
        {Question::Restore, "restore", "backup's price", {}, "changed price"},
        {Question::WriteAgain,
         "write again",
         "4:old 5:old 6:old 7:old 1:new 2:new",
         {},
         "4:old 5:old 6:old 7:old 1:new"},
        {Question::HeldNumber, "held number", "4:old 5:old 6:old 7:old 1:new",
         "4:old 5:old 6:old 7:old 1:old 2:new", "4:old 5:old 6:old 7:old 1:old"},
    };
    for (const Outcomes &o : outcomes) {
        for (Answer answer : {Answer::Yes, Answer::Other, Answer::No, Answer::Escape}) {
            if (answer == Answer::Other && o.other.isEmpty())
                continue;
            const QString expected = answer == Answer::Yes     ? o.yes
                                     : answer == Answer::Other ? o.other
                                                               : o.unchanged;
            const char *answerName[] = {"yes", "other", "no", "escape"};
            for (Input input : {Input::Key, Input::Mouse})
                QTest::addRow("%s, %s by %s", o.name, answerName[int(answer)],
                              input == Input::Key ? "key" : "mouse")
                    << o.question << answer << input << expected;
        }
    }
}

void TestConfirmations::answeredQuestions()
{
    QFETCH(Question, question);
    QFETCH(Answer, answer);
    QFETCH(Input, input);
    QFETCH(QString, expected);
    const Scenario s = scenario(question);
    QVERIFY(s.ask);
    Answerer answerer(answer, input);
    s.ask();
    QVERIFY(!answerer.stuck);
    QCOMPARE(answerer.texts.size(), 1);
    for (const QString &part : s.named)
        QVERIFY2(answerer.texts.first().contains(part), qPrintable(answerer.texts.first()));
    QCOMPARE(s.state(), expected);
}

QTEST_MAIN(TestConfirmations)
#include "tst_confirmations.moc"
