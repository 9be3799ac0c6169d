#include "lists/window/fieldwidgets.h"

#include "store/table.h"
#include "widgets/editmessage.h"
#include "widgets/fieldtext.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"

#include <QKeyEvent>

namespace lists
{

FieldBinding::FieldBinding(QWidget *owner) : owner_(owner) {}

void FieldBinding::bind(store::Table *table, const QString &field)
{
    unbind();
    table_ = table;
    field_ = field;
    if (!table)
        return;
    auto changed = [this] {
        if (live())
            emit valueChanged();
    };
    connections_ = {
        connect(table, &store::Table::afterScroll, this, changed),
        connect(table, &store::Table::viewChanged, this, changed),
        connect(table, &store::Table::recordChanged, this, &FieldBinding::onRecordChanged),
        connect(table, &store::Table::dataSourceToggled, this, changed),
    };
    emit valueChanged();
}

void FieldBinding::unbind()
{
    for (const QMetaObject::Connection &c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    table_ = nullptr;
    field_.clear();
}

bool FieldBinding::live() const
{
    return table_ && table_->isOpen() && table_->dataSourceEnabled();
}

void FieldBinding::onRecordChanged(int position)
{
    if (live() && position == table_->viewPosition())
        emit valueChanged();
}

QString FieldBinding::currentText() const
{
    if (!isBound() || !table_->isOpen() || table_->isEmpty())
        return {};
    if (!table_->hasField(field_))
        return {};
    return widgets::fieldDisplayText(table_->value(field_));
}

QString FieldBinding::currentHint() const
{
    if (!isBound() || !table_->isOpen() || table_->isEmpty() || !table_->hasField(field_))
        return {};
    return widgets::unreadableHint(table_->value(field_));
}

bool FieldBinding::write(const QString &text)
{
    if (!live() || table_->isEmpty() || text == currentText())
        return true;
    const int index = table_->fieldIndex(field_);
    if (index < 0)
        return true;
    QString error;
    const QVariant value = widgets::fieldInput(table_->fields().at(index), text, &error);
    try {
        if (error.isEmpty()) {
            table_->setValue(field_, value);
            table_->post();
            return true;
        }
    } catch (const store::TableError &e) {
        error = e.message();
        try {
            table_->cancel();
        } catch (const store::TableError &) {
        }
    }
    // The stored value again at once, so that the focus leaving for the box writes
    // nothing; the box once the key or the focus change has been handled.
    emit valueChanged();
    QWidget *owner = owner_;
    widgets::afterEdit(owner, [owner, error] { widgets::showMessage(owner, error); });
    return false;
}

// --- FieldEdit ---

FieldEdit::FieldEdit(QWidget *parent) : QLineEdit(parent), binding_(this)
{
    setReadOnly(true);
    setAlignment(Qt::AlignRight);
    connect(&binding_, &FieldBinding::valueChanged, this, &FieldEdit::refresh);
}

void FieldEdit::bind(store::Table *table, const QString &field)
{
    binding_.bind(table, field);
}

void FieldEdit::unbind()
{
    binding_.unbind();
    clear();
}

void FieldEdit::refresh()
{
    setText(binding_.currentText());
    setToolTip(binding_.currentHint());
    setCursorPosition(0);
}

void FieldEdit::commit()
{
    if (!isReadOnly())
        binding_.write(text());
}

void FieldEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        focusNextChild();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && !isReadOnly()) {
        refresh(); // takes back what was typed
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::focusOutEvent(QFocusEvent *event)
{
    commit();
    QLineEdit::focusOutEvent(event);
}

// --- FieldMemo ---

FieldMemo::FieldMemo(QWidget *parent) : QPlainTextEdit(parent), binding_(this)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    connect(&binding_, &FieldBinding::valueChanged, this, &FieldMemo::refresh);
}

void FieldMemo::bind(store::Table *table, const QString &field)
{
    binding_.bind(table, field);
}

void FieldMemo::refresh()
{
    setPlainText(binding_.currentText());
}

void FieldMemo::commit()
{
    if (isReadOnly())
        return;
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    binding_.write(text);
}

void FieldMemo::focusOutEvent(QFocusEvent *event)
{
    commit();
    QPlainTextEdit::focusOutEvent(event);
}

void commitTyping(QWidget *window)
{
    QWidget *focused = window->focusWidget();
    if (!focused)
        return;
    if (auto *edit = qobject_cast<FieldEdit *>(focused)) {
        edit->commit();
        return;
    }
    if (auto *memo = qobject_cast<FieldMemo *>(focused)) {
        memo->commit();
        return;
    }
    for (QWidget *up = focused->parentWidget(); up; up = up->parentWidget()) {
        if (auto *grid = qobject_cast<widgets::TableGrid *>(up)) {
            grid->commitEdit();
            return;
        }
    }
}

} // namespace lists
