#include "results/window/celleditor.h"

#include "store/fieldproblem.h"

#include <QLineEdit>
#include <QValidator>

namespace results
{

namespace
{

const char kFilled[] = "kpFilled";

// Refuses a keystroke that would make the text more than its field holds.
class FieldTypingValidator final : public QValidator
{
public:
    FieldTypingValidator(const store::FieldDef &field, QObject *parent)
        : QValidator(parent), field_(field)
    {
    }
    State validate(QString &text, int &) const override
    {
        return store::fitsWhileTyping(field_, text) ? Acceptable : Invalid;
    }

private:
    store::FieldDef field_;
};

} // namespace

CellEditor::CellEditor(QObject *parent) : QStyledItemDelegate(parent) {}

void CellEditor::setColumnField(int column, const store::FieldDef &field)
{
    fields_.insert(column, field);
}

QWidget *CellEditor::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                  const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row();
    const int column = index.column();
    if (const auto field = fields_.constFind(column); field != fields_.constEnd()) {
        editor->setMaxLength(field->width);
        editor->setValidator(new FieldTypingValidator(*field, editor));
    }
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
