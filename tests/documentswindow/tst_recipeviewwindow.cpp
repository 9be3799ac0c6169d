// The recipe view and print window: the text of the recipe on showing, the choices it
// starts with, the print flow (message, printer choice with a PDF file, balanced
// amounts), the export to the word processor, refusal of an empty document, and the
// cursors it leaves behind.

#include "documents/docxreadback.h"
#include "documents/window/recipeviewwindow.h"
#include "namedchild.h"
#include "platform/documentopener.h"
#include "platform/printerchoice.h"
#include "settings/settings.h"
#include "store/datamodule.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using documents::RecipeViewWindow;

namespace
{

using Row = QList<std::pair<QString, QVariant>>;

void appendRow(store::Table &table, const Row &row)
{
    table.append();
    for (const auto &[name, value] : row)
        table.setValue(name, value);
    table.post();
}

// Answers the modal windows that open while `run` runs, one step per window, in
// order; a step returns false to fail. A safety timer closes whatever stays open.
class ModalScript final
{
public:
    using Step = std::function<void(QWidget *)>;

    explicit ModalScript(QList<Step> steps) : steps_(std::move(steps))
    {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    }

    void run(const std::function<void()> &action)
    {
        timer_.start();
        QTimer::singleShot(10000, &timer_, [this] {
            failedSafety_ = true;
            while (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        action();
        timer_.stop();
    }

    int answered() const { return next_; }
    bool timedOut() const { return failedSafety_; }
    QStringList seen() const { return seen_; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == last_ || next_ >= steps_.size())
            return;
        // The window being driven itself is modal too: only windows above it count.
        if (qobject_cast<RecipeViewWindow *>(modal) != nullptr)
            return;
        last_ = modal;
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            seen_ << box->text();
        else
            seen_ << QString::fromLatin1(modal->metaObject()->className());
        steps_.at(next_++)(modal);
    }

    QList<Step> steps_;
    QTimer timer_;
    QWidget *last_ = nullptr;
    int next_ = 0;
    bool failedSafety_ = false;
    QStringList seen_;
};

// A text with every run of blanks and line breaks as one blank, as a PDF reads back.
QString words(const QString &text)
{
    return text.simplified();
}

QString pdfWords(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return words(QString::fromUtf8(process.readAllStandardOutput()));
}

void acceptBox(QWidget *w)
{
    if (auto *box = qobject_cast<QMessageBox *>(w))
        box->accept();
}

} // namespace

class TestRecipeViewWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsTheRecipe();
    void screenShowsWhatThePrintShows_data();
    void screenShowsWhatThePrintShows();
    void printsToForcedPdf();
    void printFlowThroughPrinterChoice();
    void exportsToWord_data();
    void exportsToWord();
    void emptyDocumentIsNotPrinted();
    void closeLeavesCursorsOnTheRecipe();

private:
    void writeRecipe(int number, double ves);
    // Shows the window on `number`, runs `inside` while it is open, then closes it.
    void withWindow(int number, const std::function<void(RecipeViewWindow &)> &inside,
                    const QList<ModalScript::Step> &onShow = {});

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<store::DataModule> data_;
};

void TestRecipeViewWindow::init()
{
    qunsetenv(platform::kForcedPdfVariable);
    qunsetenv(platform::kOpenDocumentVariable);
    dir_ = std::make_unique<QTemporaryDir>();
    const QDir source(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
    for (const QString &file : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(file), dir_->filePath(file)));
    for (const QString &file : QDir(dir_->path()).entryList(QDir::Files))
        QFile(dir_->filePath(file)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QString error;
    data_ = store::DataModule::create(dir_->path(), &error);
    QVERIFY2(data_, qPrintable(error));
    settings::ReadSettings(dir_->path());
    writeRecipe(3, 10);
    writeRecipe(4, 0);
}

void TestRecipeViewWindow::cleanup()
{
    qunsetenv(platform::kForcedPdfVariable);
    qunsetenv(platform::kOpenDocumentVariable);
    data_.reset();
    dir_.reset();
}

void TestRecipeViewWindow::writeRecipe(int number, double ves)
{
    appendRow(data_->archiveHeaders, {{"arnom", number},
                                      {"data", "05.03.2024"},
                                      {"gost", "51851-2001"},
                                      {"naim", QStringLiteral("ПК-1-15054.19-%1Г").arg(number)},
                                      {"nasn", "Для кур-несушек"},
                                      {"prim", "опытная партия"},
                                      {"ves", ves},
                                      {"nds", 10},
                                      {"izder", 150},
                                      {"gran", 80},
                                      {"gk", "Г"},
                                      {"procprib", 12},
                                      {"procpot", 1},
                                      {"kn1", true},
                                      {"kn3", false},
                                      {"kn5", false}});
    const QList<std::tuple<const char *, double, double>> raws = {
        {"Пшеница", 33.333, 12000}, {"Ячмень", 33.333, 10500}, {"Кукуруза", 33.334, 11000}};
    for (const auto &[name, share, price] : raws) {
        appendRow(data_->archiveCompositions, {{"arnom", number},
                                               {"naim", QString::fromUtf8(name)},
                                               {"procin", share},
                                               {"price", price},
                                               {"ves", ves * share / 100}});
    }
    appendRow(data_->archiveCharacteristics, {{"arnom", number},
                                              {"pit", "Сырой протеин"},
                                              {"ediz", "%"},
                                              {"mi", 16},
                                              {"ma", 18},
                                              {"ra", 16.5},
                                              {"fa", 16.25}});
}

void TestRecipeViewWindow::withWindow(int number,
                                      const std::function<void(RecipeViewWindow &)> &inside,
                                      const QList<ModalScript::Step> &onShow)
{
    RecipeViewWindow form(*data_);
    form.setArchiveNumber(number);
    QTimer::singleShot(0, &form, [&] {
        ModalScript script(onShow);
        if (!onShow.isEmpty())
            script.run([] { QTest::qWait(300); });
        inside(form);
        form.reject();
    });
    QTimer::singleShot(20000, &form, [&] { // safety: whatever stays open is closed
        while (QWidget *w = QApplication::activeModalWidget()) {
            if (w == &form)
                break;
            w->close();
        }
        form.reject();
    });
    form.exec();
}

void TestRecipeViewWindow::showsTheRecipe()
{
    withWindow(3, [](RecipeViewWindow &form) {
        QCOMPARE(form.windowTitle(), QStringLiteral("Просмотр и печать рецепта"));
        auto *list = namedChild<QListWidget>(&form, "recipeText");
        QVERIFY(list);
        QCOMPARE(list->count(), form.document().lines().size());
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("ПК-1-15054.19-3Г")));
        QCOMPARE(list->item(8)->text().left(7), QStringLiteral("Пшеница"));
        QCOMPARE(list->font().pixelSize(), 12);
        QVERIFY(QFontInfo(list->font()).fixedPitch());
        // Each showing starts with form 2 and the calculated values.
        QCOMPARE(form.selectedForm(), documents::RecipeForm::NoRawPrices);
        QVERIFY(!form.actualValuesSelected());
        QStringList captions;
        for (auto *b : form.findChildren<QRadioButton *>())
            captions << b->text();
        for (auto *l : form.findChildren<QLabel *>())
            captions << l->text();
        for (auto *b : form.findChildren<QPushButton *>())
            captions << b->text();
        for (const char *caption : {"Укажите форму", "рецепта:", "Полный рецепт", "Без указания",
                                    "цен сырья", "Без цен сырья и", "финансовых расчетов",
                                    "Укажите тип", " характеристик в рецепте:", "Расчетные",
                                    "Фактические", "ПЕЧАТАТЬ", "Импорт в Word", "Выход"})
            QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
        QVERIFY(namedChild<QPushButton>(&form, "wordExportButton")->isEnabled());
    });
}

void TestRecipeViewWindow::screenShowsWhatThePrintShows_data()
{
    QTest::addColumn<QString>("form"); // the radio buttons chosen
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("costLines");
    QTest::newRow("form 1, calculated") << "fullRecipeButton"
                                        << "calculatedValuesButton" << 10;
    QTest::newRow("form 2, actual") << "noRawPricesButton"
                                    << "actualValuesButton" << 10;
    QTest::newRow("form 3, calculated") << "noFinanceButton"
                                        << "calculatedValuesButton" << 4;
}

// The list follows the choice of form and values: every figure line it shows (prices or
// not, calculated or actual values) is a line of the page that form prints.
void TestRecipeViewWindow::screenShowsWhatThePrintShows()
{
    QFETCH(QString, form);
    QFETCH(QString, values);
    QFETCH(int, costLines);
    const QString pdf =
        QDir(QStringLiteral(KP_TEST_OUTPUT))
            .filePath(QStringLiteral("recipeview-%1.pdf").arg(QTest::currentDataTag()));
    QFile::remove(pdf);
    qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
    QStringList screen;
    withWindow(3, [&](RecipeViewWindow &window) {
        namedChild<QRadioButton>(&window, qPrintable(form))->click();
        namedChild<QRadioButton>(&window, qPrintable(values))->click();
        auto *list = namedChild<QListWidget>(&window, "recipeText");
        for (int i = 0; i < list->count(); ++i)
            screen << list->item(i)->text();
        namedChild<QPushButton>(&window, "printButton")->click();
    });
    const QString printed = pdfWords(pdf);
    QVERIFY(!printed.isEmpty());
    int figures = 0;
    for (const QString &line : screen.mid(8)) {
        if (line.contains(QStringLiteral("=====")) || line.contains(QStringLiteral("оказатели")))
            continue; // rules and headings are laid out by the page
        QVERIFY2(printed.contains(words(line)), qPrintable(line));
        ++figures;
    }
    QCOMPARE(figures, 3 + 1 + costLines); // raw materials, the characteristic, costs
}

// Forced into a file: no message, no dialog; the amounts printed are balanced.
void TestRecipeViewWindow::printsToForcedPdf()
{
    const QString pdf = QDir(QStringLiteral(KP_TEST_OUTPUT)).filePath("recipeview-forced.pdf");
    QFile::remove(pdf);
    qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
    withWindow(3, [&](RecipeViewWindow &form) {
        namedChild<QRadioButton>(&form, "fullRecipeButton")->setChecked(true);
        QTest::mouseClick(namedChild<QPushButton>(&form, "printButton"), Qt::LeftButton);
        // 3 × 3.3333 (+ 3.3334) with 1 % losses against 10.100 t
        double sumL = 0;
        for (int k = 0; k < form.document().rawCount(); ++k)
            sumL += form.document().batchWithLosses(k);
        QCOMPARE(std::round(sumL * 10000), 101000.0);
    });
    QVERIFY(QFile::exists(pdf));
    QVERIFY(QFile(pdf).size() > 1000);
}

// "Подготовьте принтер", then the printer choice with "PDF-файл", then the file name.
void TestRecipeViewWindow::printFlowThroughPrinterChoice()
{
    const QString pdf = QDir(QStringLiteral(KP_TEST_OUTPUT)).filePath("recipeview-chosen.pdf");
    QFile::remove(pdf);
    QStringList seen;
    bool pdfListed = false;
    withWindow(3, [&](RecipeViewWindow &form) {
        ModalScript script(
            {acceptBox,
             [&](QWidget *w) {
                 auto *list = w->findChild<QListWidget *>(QStringLiteral("printerList"));
                 QVERIFY(list);
                 const auto items = list->findItems(QStringLiteral("PDF-файл"), Qt::MatchExactly);
                 pdfListed = items.size() == 1;
                 if (pdfListed)
                     list->setCurrentItem(items.first());
                 qobject_cast<QDialog *>(w)->accept();
             },
             [&](QWidget *w) {
                 auto *files = qobject_cast<QFileDialog *>(w);
                 QVERIFY(files);
                 // The whole path typed into the name field: selectFile()
                 // leaves the dialog's folder to a model that loads later.
                 auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                 QVERIFY(name);
                 name->setText(pdf);
                 static_cast<QDialog *>(files)->accept();
             }});
        script.run([&] {
            QTest::mouseClick(namedChild<QPushButton>(&form, "printButton"), Qt::LeftButton);
        });
        seen = script.seen();
        QVERIFY(!script.timedOut());
    });
    QCOMPARE(seen.value(0), QStringLiteral("Подготовьте принтер"));
    QVERIFY(pdfListed);
    QVERIFY2(QFile::exists(pdf), qPrintable(seen.join(" | ")));
}

void TestRecipeViewWindow::exportsToWord_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("folderBlocked");
    QTest::addColumn<QString>("message"); // %1: the file written
    QTest::newRow("opened in the editor") << "true" << false << "";
    QTest::newRow("nothing opens it: where it was saved")
        << "false" << false
        << "Не найдено приложение для файлов .docx (LibreOffice Writer, Word)\nДокумент сохранен в "
           "файле %1";
    QTest::newRow("cannot be written")
        << "true" << true << "Документ не сохранен.\nНе удалось создать папку %1";
}

// "Импорт в Word" saves "Рецепт <number> <date time>.docx" in the export folder of the
// working folder and opens it; a failure says why, and where the file is when it was saved.
void TestRecipeViewWindow::exportsToWord()
{
    QFETCH(QString, opener);
    QFETCH(bool, folderBlocked);
    QFETCH(QString, message);
    qputenv(platform::kOpenDocumentVariable, opener.toUtf8());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
    const QDir exportDir(dir_->filePath(QStringLiteral("export")));
    if (folderBlocked) {
        QFile blocker(exportDir.path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    QStringList seen;
    bool timedOut = false;
    withWindow(3, [&](RecipeViewWindow &form) {
        namedChild<QRadioButton>(&form, "fullRecipeButton")->setChecked(true);
        ModalScript script({acceptBox});
        script.run([&] {
            QTest::mouseClick(namedChild<QPushButton>(&form, "wordExportButton"), Qt::LeftButton);
        });
        seen = script.seen();
        timedOut = script.timedOut();
    });
    QDir::setCurrent(previous);
    const QStringList files =
        folderBlocked ? QStringList() : exportDir.entryList({QStringLiteral("*.docx")});
    if (!folderBlocked) {
        QCOMPARE(files.size(), 1);
        QVERIFY2(files.first().startsWith(QStringLiteral("Рецепт 3 ")), qPrintable(files.first()));
        // The form chosen in the window: six raw-material columns; amounts balanced.
        QString error;
        const QJsonObject dump =
            docxreadback::dump({exportDir.filePath(files.first())}, &error).begin()->toObject();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QJsonArray rawTable =
            dump[QStringLiteral("body")][9][QStringLiteral("rows")].toArray();
        QCOMPARE(rawTable[0].toArray().size(), 6);
        QCOMPARE(rawTable[1][5][QStringLiteral("text")].toString(),
                 QStringLiteral("\n3.3666\n3.3666\n3.3668\n"));
    }
    const QString written = files.isEmpty() ? exportDir.path() : exportDir.filePath(files.first());
    if (message.isEmpty()) {
        QVERIFY(seen.isEmpty());
        QVERIFY(!timedOut);
    } else {
        QCOMPARE(seen, QStringList{message.arg(QDir::toNativeSeparators(written))});
    }
}

void TestRecipeViewWindow::emptyDocumentIsNotPrinted()
{
    QStringList seen;
    withWindow(4,
               [&](RecipeViewWindow &form) {
                   QVERIFY(form.document().isEmpty());
                   QCOMPARE(namedChild<QListWidget>(&form, "recipeText")->count(), 0);
                   // Neither printed nor exported.
                   for (const char *button : {"printButton", "wordExportButton"}) {
                       ModalScript script({acceptBox});
                       script.run([&] {
                           QTest::mouseClick(namedChild<QPushButton>(&form, button),
                                             Qt::LeftButton);
                       });
                       seen << script.seen();
                   }
               },
               {[&](QWidget *w) {
                   if (auto *box = qobject_cast<QMessageBox *>(w))
                       seen << box->text();
                   acceptBox(w);
               }});
    QCOMPARE(seen, QStringList({"Вес не задан!", "Вес не задан!", "Вес не задан!"}));
}

void TestRecipeViewWindow::closeLeavesCursorsOnTheRecipe()
{
    withWindow(3, [](RecipeViewWindow &) {});
    QCOMPARE(data_->archiveHeaders.filter(), QStringLiteral("arnom>0"));
    QVERIFY(data_->archiveHeaders.filtered());
    QCOMPARE(data_->archiveHeaders.integer(QStringLiteral("arnom")), 3);
    QCOMPARE(data_->archiveCompositions.filter(), QStringLiteral("arnom=3"));
    QCOMPARE(data_->archiveCompositions.viewCount(), 3);
    QCOMPARE(data_->archiveCharacteristics.filter(), QStringLiteral("arnom=3"));
}

QTEST_MAIN(TestRecipeViewWindow)
#include "tst_recipeviewwindow.moc"
