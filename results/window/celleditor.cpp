#include "results/window/celleditor.h"

#include <QLineEdit>

namespace results
{

namespace
{

const char kFilled[] = "kpFilled";

} // namespace

CellEditor::CellEditor(QObject *parent) : QStyledItemDelegate(parent) {}

QWidget *CellEditor::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                  const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row();
    const int column = index.column();
    auto *self = const_cast<CellEditor *>(this);
    connect(editor, &QLineEdit::textEdited, self,
            [self, row, column](const QString &text) { emit self->textEdited(column, row, text); });
    return editor;
}

// Only when the editor opens: later changes of the cell come from the window's own
// reaction to the typing and must not move the user's cursor.
void CellEditor::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (editor->property(kFilled).toBool())
        return;
    editor->setProperty(kFilled, true);
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(index.data(Qt::EditRole).toString());
}

void CellEditor::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!option->text.startsWith(u' '))
        return;
    const QString trimmed = option->text.trimmed();
    if (trimmed.isEmpty())
        return;
    option->text = trimmed;
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

void CellEditor::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const {}

} // namespace results
