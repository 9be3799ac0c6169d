#pragma once

// ArchiveWindow: the recipe archive window. Browses the archive as three linked grids (heads,
// their raw materials, their characteristics), corrects the note, weight, standard and
// actual values, selects recipes by a key, deletes one recipe or a range of numbers,
// restarts the numbering, clears the planned output (these four after a question naming
// what goes, "Нет" the default), estimates and prints the
// raw-material consumption, copies the archive to the folder of netpath.txt, and
// composes, edits and prints the quality certificate. Four states: browsing, the range
// panel, the consumption list, the certificate text; each is left by its own "Выход".
//
// The shell hands it the openers of the recipe view window and of the selection key
// dialog, and the word-processor export of the certificate:
//     ArchiveWindow form(dm, folder.root.filePath("netpath.txt"), menu);
//     form.setRecipeViewOpener([&](int number) { recipeViewWindow->setArchiveNumber(number);
//                                                recipeViewWindow->exec(); });
//     form.setKeyAsker([&] { return SelectionKeyDialog::ask(&form); });
//     form.setCertificateExporter([&](const QStringList &lines, int number) {
//         documents::exportCertificateToWord(&form, lines, number); });

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace widgets
{
class TableGrid;
}
namespace store
{
class DataModule;
}

namespace archive
{

struct ArchiveCursors;

class ArchiveWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveWindow)

public:
    ArchiveWindow(store::DataModule &data, QString netpathFile, QWidget *parent = nullptr);

    void setRecipeViewOpener(std::function<void(int number)> open);
    void setKeyAsker(std::function<QString()> ask);
    // "Импорт в Word" of the certificate panel: hands on the certificate text as it stands
    // and the recipe number. The button is enabled once an exporter is given.
    void setCertificateExporter(
        std::function<void(const QStringList &lines, int number)> exportCertificate);
    // For scripts and tests: where "Печатать" prints without a dialog (empty: ask).
    void setForcedPdf(const QString &path) { forcedPdf_ = path; }

    widgets::TableGrid *DBGrid1; // heads
    widgets::TableGrid *DBGrid2; // raw materials
    widgets::TableGrid *DBGrid3; // characteristics
    QPushButton *Button1;        // "Просмотр и печать рецепта"
    QPushButton *Button2;        // "Печатать удостоверение"
    QPushButton *Button3;        // "Выделить"
    QPushButton *Button4;        // "Отменить выделение"
    QPushButton *Button5;        // "Очистить выработку"
    QPushButton *Button6;        // "Подсчитать расход сырья"
    QPushButton *Button7;        // "Удалить рецепт"
    QPushButton *Button8;  // "Удалить рецепты в диапазоне номеров"
    QPushButton *Button9;  // "Новая нумерация"
    QPushButton *Button10; // "Выдать архив на сеть"
    QPushButton *Button11; // "Выход"
    QWidget *Panel1;       // the range panel
    QLineEdit *MaskEdit1;  // from
    QLineEdit *MaskEdit2;  // to
    QPushButton *Button12; // "Удалить"
    QPushButton *Button13; // "Выход" of the range panel
    QListWidget *ListBox1; // the consumption list
    QWidget *Panel2;       // its buttons
    QPushButton *Button14; // "Печатать"
    QPushButton *Button15; // "Выход"
    QPlainTextEdit *Memo1; // the certificate text
    QWidget *Panel3;       // its buttons
    QPushButton *Button16; // "Печатать"
    QPushButton *Button17; // "Импорт в Word"
    QPushButton *Button18; // "Выход"

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;

private:
    void buildGrids();
    void buildButtons();
    void buildOverlays();
    void placeOverlays();
    ArchiveCursors cursors() const;

    void FormShow();
    void FormClose();
    void Table6AfterScroll();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button17Click();

    void hideOverlays();
    void backToBrowsing(); // the "Выход" of the list and of the certificate
    void followCursors();
    bool run(const std::function<void()> &operation);
    void print(const QString &documentName, const std::function<void(QPainter *)> &draw);

    store::DataModule &data_;
    QString netpathFile_;
    QString forcedPdf_;
    std::function<void(int)> openRecipeView_;
    std::function<QString()> askKey_;
    std::function<void(const QStringList &, int)> exportCertificate_;
    int rememberedNumber_ = 0;
    bool linking_ = false; // the window is open and has the focus of the run
};

} // namespace archive
