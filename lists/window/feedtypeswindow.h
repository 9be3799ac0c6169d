#pragma once

// FeedTypesWindow: the feed types list window ("Работа со списком типов комбикормов"): the feed
// types of kk with the minimum and maximum of every nutrient characteristic, and on the
// norms panel ("Нормы ввода сырья") the minimum and maximum inclusion of every raw
// material, kept in norm; selection of feed types for the next calculation (at most 40)
// and the highlight search. Opened from the main menu, from the calculation preparation
// window (kk then carries the selection filter) and from the mix window to choose its
// product (setProductChoice: the selection cannot be changed, and a line says how to
// choose).
//
//     FeedTypesWindow form(*store::dataModule(), parent);
//     form.exec();   // the feed type current at close is the one chosen

#include "lists/window/listwindow.h"
#include "store/normroutines.h"

#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace lists
{
class CharacteristicPanel;
class FieldMemo;
} // namespace lists

namespace widgets
{
class TableGrid;
}

class FeedTypesWindow final : public lists::ListWindow, private store::FeedTypesWindowLink
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FeedTypesWindow)

public:
    static constexpr int selectionLimit = 40;

    explicit FeedTypesWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~FeedTypesWindow() override;

    bool normsPanelShown() const;
    // The window opened to choose the mix window's product: the selection buttons disabled
    // and a line over the grid saying how to choose; false puts it back.
    void setProductChoice(bool choosing);

    widgets::TableGrid *DBGrid1; // kk: "Тип", "Назначение", "ГОСТ", "%нал"
    lists::FieldMemo *DBMemo1;   // the purpose of the current feed type in full
    lists::CharacteristicPanel *Panel1; // the 64 groups: caption, minimum, maximum
    QWidget *Panel2;                    // norms panel "Нормы ввода сырья"
    widgets::TableGrid *DBGrid2;        // sir: "Наименование", "Мин.%", "Макс.%"
    QPushButton *Button1;               // "Добавить в конец"
    QPushButton *Button2;               // "Добавить выше"
    QPushButton *Button3;  // "Переместить", second phase "Поставить сюда"
    QPushButton *Button4;  // "Удалить"
    QPushButton *Button5;  // "Уточнить"
    QPushButton *Button6;  // "Нормы ввода сырья" / "Характеристики"
    QPushButton *Button7;  // "Отобрать к расчету"
    QPushButton *Button8;  // "Отменить весь отбор"
    QPushButton *Button9;  // "Выделить " (feed types)
    QPushButton *Button10; // "Отменить выделение" (feed types)
    QPushButton *Button11; // "Выход"
    QPushButton *Button12; // "Выделить" (norms panel, raw materials)
    QPushButton *Button13; // "Отменить выделение" (norms panel)
    QLabel *Label1;        // list size and selected count
    QPushButton *selectAllButton; // "Отметить все"

private:
    // store::FeedTypesWindowLink
    void focusFeedTypesGrid() override;
    void lockFeedTypeEditors() override;
    bool normsGridReadOnly() const override;
    void setNormsGridReadOnly(bool readOnly) override;
    void reportNormError(const QString &message) override;

    void FormActivate() override;
    void FormClose() override;
    bool addEntry(lists::AddPlace place) override;
    void deleteEntry() override;
    void placeMovedEntry() override;
    void clearNewEntry() override;
    void setEditorsReadOnly(bool readOnly) override;
    void correctClick() override;
    QString selectAllEntries() override;
    void hideForbiddenButtons(bool any) override;
    void Button6Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button12Click();
    void Button13Click();
    void buildLayout();
    void setNormsPanelShown(bool shown);
    void saveLimits();
    void loadLimits();

    QStackedWidget *bottom_;
    QLabel *choiceHint_; // how to choose the product, while the mix window chooses
    std::unique_ptr<store::FeedTypeScrollEvents> scrollEvents_;
};
