#include "lists/window/ratiopanel.h"

#include "lists/window/ratiomodel.h"
#include "widgets/editmessage.h"
#include "widgets/windowparts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace lists
{

namespace
{

// Numerator and denominator are chosen from the characteristics by name.
class CharacteristicChoice final : public QStyledItemDelegate
{
public:
    CharacteristicChoice(const RatioModel *model, QObject *parent)
        : QStyledItemDelegate(parent), model_(model)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *box = new QComboBox(parent);
        for (const RatioCharacteristic &c : model_->characteristics())
            box->addItem(c.name, c.key);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = static_cast<QComboBox *>(editor);
        box->setCurrentIndex(box->findData(index.data(Qt::EditRole)));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        const QVariant key = static_cast<QComboBox *>(editor)->currentData();
        if (key.isValid())
            model->setData(index, key);
    }

private:
    const RatioModel *model_;
};

} // namespace

// The grid, with the commit of an open cell editor that QTableView keeps to itself.
class RatioPanel::RatioGrid final : public QTableView
{
public:
    using QTableView::QTableView;

    void commitEdit()
    {
        if (state() != QAbstractItemView::EditingState)
            return;
        QWidget *editor = indexWidget(currentIndex());
        if (!editor)
            editor = window()->focusWidget();
        if (!editor || !viewport()->isAncestorOf(editor))
            return;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
};

RatioPanel::RatioPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Соотношения"), parent), model_(new RatioModel(this)),
      ratioGrid(new RatioGrid(this)),
      addRatioButton(widgets::makeButton(QStringLiteral("Добавить"), this, "addRatioButton")),
      deleteRatioButton(widgets::makeButton(QStringLiteral("Удалить"), this, "deleteRatioButton"))
{
    setUpGrid();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(addRatioButton);
    buttons->addWidget(deleteRatioButton);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ratioGrid, 1);
    layout->addLayout(buttons);

    connect(addRatioButton, &QPushButton::clicked, this, &RatioPanel::onAdd);
    connect(deleteRatioButton, &QPushButton::clicked, this, &RatioPanel::onDelete);
    connect(model_, &RatioModel::editProblem, this,
            [this](const QString &text) { widgets::showMessageAfterEdit(window(), text); });
    connect(model_, &QAbstractItemModel::modelReset, this, &RatioPanel::updateButtons);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &RatioPanel::updateButtons);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &RatioPanel::updateButtons);
    updateButtons();
}

// Names in the two stretching columns, chosen from a list; narrow bounds and check box.
void RatioPanel::setUpGrid()
{
    ratioGrid->setObjectName(QStringLiteral("ratioGrid"));
    ratioGrid->setModel(model_);
    auto *choice = new CharacteristicChoice(model_, ratioGrid);
    ratioGrid->setItemDelegateForColumn(RatioModel::Numerator, choice);
    ratioGrid->setItemDelegateForColumn(RatioModel::Denominator, choice);
    ratioGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ratioGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ratioGrid->verticalHeader()->hide();
    ratioGrid->horizontalHeader()->setSectionResizeMode(RatioModel::Numerator,
                                                        QHeaderView::Stretch);
    ratioGrid->horizontalHeader()->setSectionResizeMode(RatioModel::Denominator,
                                                        QHeaderView::Stretch);
    for (int column : {RatioModel::Minimum, RatioModel::Maximum})
        ratioGrid->setColumnWidth(column, 58);
    ratioGrid->setColumnWidth(RatioModel::InForce, 58);
}

void RatioPanel::setReadOnly(bool readOnly)
{
    if (readOnly)
        commitEdit();
    model_->setReadOnly(readOnly);
    updateButtons();
}

void RatioPanel::commitEdit()
{
    ratioGrid->commitEdit();
}

void RatioPanel::updateButtons()
{
    const bool editable = !model_->isReadOnly() && model_->feed() > 0;
    addRatioButton->setEnabled(editable && !model_->characteristics().isEmpty());
    deleteRatioButton->setEnabled(editable && model_->rowCount() > 0);
}

void RatioPanel::onAdd()
{
    const int row = model_->addRow();
    if (row < 0)
        return;
    ratioGrid->setCurrentIndex(model_->index(row, RatioModel::Numerator));
    ratioGrid->setFocus();
}

void RatioPanel::onDelete()
{
    const QModelIndex current = ratioGrid->currentIndex();
    model_->removeRow(current.isValid() ? current.row() : model_->rowCount() - 1);
}

} // namespace lists
