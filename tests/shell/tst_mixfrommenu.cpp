// The technologist's road through the mix window, as the program is started: from the
// menu's "Расчет характеристик смеси" through the product choice in the feed types window
// (its selection buttons disabled), five percentages, the computation and the archive
// write, to the recipe printed through the recipe view window into a PDF.

#include "documents/window/recipeviewwindow.h"
#include "lists/window/feedtypeswindow.h"
#include "namedchild.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"
#include "results/window/mixwindow.h"
#include "shell/programwindows.h"
#include "store/datamodule.h"
#include "widgets/tablegrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <functional>

using lists::FeedTypesWindow;
using shell::MenuItem;

namespace
{

// Runs act on the modal window of type W as soon as it is shown.
template <typename W> void whenShown(const std::function<void(W *)> &act)
{
    QTimer::singleShot(0, [act] {
        if (auto *window = qobject_cast<W *>(QApplication::activeModalWidget()))
            act(window);
    });
}

// The feed types window's selection buttons, which the product choice disables.
QList<QPushButton *> selectionButtons(const QWidget *feedTypes)
{
    QList<QPushButton *> buttons;
    for (const char *name : {"selectButton", "deselectAllButton", "selectAllButton"})
        buttons.append(namedChild<QPushButton>(feedTypes, name));
    return buttons;
}

bool enabled(const QPushButton *button)
{
    return button->isEnabled();
}

} // namespace

class TestMixFromMenu final : public QObject
{
    Q_OBJECT

private slots:
    void fromMenuToPrintedRecipe();
};

void TestMixFromMenu::fromMenuToPrintedRecipe()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const shell::WorkingFolder folder{QDir(work.path())};
    const QDir demo(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
    QVERIFY(QDir().mkpath(folder.dataDir()));
    for (const QString &name : demo.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo.filePath(name), folder.dataDir() + "/" + name));
    QStringList shown;
    const auto windows = shell::ProgramWindows::create(
        folder, [&shown](const QString &text) { shown.append(text); });
    QVERIFY(windows);
    shell::MainMenu &menu = windows->menu();
    QSignalSpy done(&menu, &shell::MainMenu::firstActivationDone);
    menu.show();
    QVERIFY(done.count() == 1 || done.wait(5000));

    const QString pdf = roadtest::outputPdf(QStringLiteral("mix-recipe"));
    QFile::remove(pdf);
    QStringList messages;
    bool selectionLocked = false;
    QString label;
    QString product;
    int printedNumber = 0;
    whenShown<results::MixWindow>([&](results::MixWindow *form) {
        form->setMessageSink([&messages](const QString &text) { messages.append(text); });
        whenShown<FeedTypesWindow>([&selectionLocked](FeedTypesWindow *feedTypes) {
            const QList<QPushButton *> buttons = selectionButtons(feedTypes);
            selectionLocked = std::none_of(buttons.begin(), buttons.end(), enabled);
            feedTypes->close(); // left on the first feed type, ПК-5
        });
        namedChild<QPushButton>(form, "chooseProductButton")->click();
        namedChild<QLineEdit>(form, "volumeField")->setFocus();
        QTest::keyClicks(namedChild<QLineEdit>(form, "volumeField"), QStringLiteral("20"));
        widgets::TableGridModel *raw =
            namedChild<widgets::TableGrid>(form, "rawMaterialsGrid")->gridModel();
        const QList<std::pair<QString, double>> inputs = {{QStringLiteral("Пшеница фуражная"), 40},
                                                          {QStringLiteral("Кукуруза"), 30},
                                                          {QStringLiteral("Ячмень"), 15},
                                                          {QStringLiteral("Горох"), 10},
                                                          {QStringLiteral("Отруби пшеничные"), 5}};
        for (const auto &[name, percent] : inputs)
            for (int r = 0; r < raw->rowCount(); ++r)
                if (raw->data(raw->index(r, 0)).toString().trimmed() == name)
                    raw->setData(raw->index(r, 2), QString::number(percent));
        namedChild<QPushButton>(form, "computeButton")->click();
        namedChild<QPushButton>(form, "writeToArchiveButton")->click();
        label = namedChild<QLabel>(form, "archiveNumberLabel")->text();
        product = namedChild<QLineEdit>(form, "productField")->text();
        whenShown<documents::RecipeViewWindow>([&](documents::RecipeViewWindow *view) {
            printedNumber = view->archiveNumber();
            qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
            namedChild<QPushButton>(view, "printButton")->click();
            qunsetenv(platform::kForcedPdfVariable);
            view->reject();
        });
        namedChild<QPushButton>(form, "printRecipeButton")->click();
        namedChild<QPushButton>(form, "exitButton")->click();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [] {
        while (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(60000);
    QTest::mouseClick(
        namedChild<QPushButton>(&menu, shell::menuButtonName(MenuItem::MixCharacteristics)),
        Qt::LeftButton);

    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
    QVERIFY(selectionLocked);
    store::DataModule &dm = windows->dataModule();
    const int number = dm.lastArchiveNumber();
    QCOMPARE(label, QStringLiteral("Арх.  № %1Г").arg(number));
    QVERIFY2(product.startsWith(QStringLiteral("ПК-5-")), qPrintable(product));
    QCOMPARE(printedNumber, number);
    QVERIFY(!dm.rawMaterials.filtered());
    // the selection buttons are enabled again for the feed types window's own use
    const FeedTypesWindow *feedTypes = menu.findChild<FeedTypesWindow *>();
    QVERIFY(feedTypes);
    const QList<QPushButton *> buttons = selectionButtons(feedTypes);
    QVERIFY(std::all_of(buttons.begin(), buttons.end(), enabled));
    const QString text = roadtest::pdfText(pdf);
    QVERIFY2(text.contains(product + QStringLiteral("%1Г").arg(number)), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Пшеница фуражная")));
    QVERIFY(text.contains(QStringLiteral("Отруби пшеничные")));
}

QTEST_MAIN(TestMixFromMenu)
#include "tst_mixfrommenu.moc"
