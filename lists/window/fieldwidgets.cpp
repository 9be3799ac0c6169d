#include "lists/window/fieldwidgets.h"

#include "lists/fieldtext.h"
#include "store/table.h"
#include "widgets/editmessage.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"

#include <QKeyEvent>

namespace lists
{

FieldBinding::FieldBinding(QWidget *owner) : m_owner(owner) {}

void FieldBinding::bind(store::Table *table, const QString &field)
{
    unbind();
    m_table = table;
    m_field = field;
    if (!table)
        return;
    auto changed = [this] {
        if (live())
            emit valueChanged();
    };
    m_connections = {
        connect(table, &store::Table::afterScroll, this, changed),
        connect(table, &store::Table::viewChanged, this, changed),
        connect(table, &store::Table::recordChanged, this, &FieldBinding::onRecordChanged),
        connect(table, &store::Table::dataSourceToggled, this, changed),
    };
    emit valueChanged();
}

void FieldBinding::unbind()
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_table = nullptr;
    m_field.clear();
}

bool FieldBinding::live() const
{
    return m_table && m_table->isOpen() && m_table->dataSourceEnabled();
}

void FieldBinding::onRecordChanged(int position)
{
    if (live() && position == m_table->viewPosition())
        emit valueChanged();
}

QString FieldBinding::currentText() const
{
    if (!isBound() || !m_table->isOpen() || m_table->isEmpty())
        return {};
    if (!m_table->hasField(m_field))
        return {};
    return fieldDisplayText(m_table->value(m_field));
}

QString FieldBinding::currentHint() const
{
    if (!isBound() || !m_table->isOpen() || m_table->isEmpty() || !m_table->hasField(m_field))
        return {};
    return unreadableHint(m_table->value(m_field));
}

bool FieldBinding::write(const QString &text)
{
    if (!live() || m_table->isEmpty() || text == currentText())
        return true;
    const int index = m_table->fieldIndex(m_field);
    if (index < 0)
        return true;
    QString error;
    const QVariant value = fieldInput(m_table->fields().at(index), text, &error);
    try {
        if (error.isEmpty()) {
            m_table->setValue(m_field, value);
            m_table->post();
            return true;
        }
    } catch (const store::TableError &e) {
        error = e.message();
        try {
            m_table->cancel();
        } catch (const store::TableError &) {
        }
    }
    // The stored value again at once, so that the focus leaving for the box writes
    // nothing; the box once the key or the focus change has been handled.
    emit valueChanged();
    QWidget *owner = m_owner;
    widgets::afterEdit(owner, [owner, error] { widgets::showMessage(owner, error); });
    return false;
}

// --- FieldEdit ---

FieldEdit::FieldEdit(QWidget *parent) : QLineEdit(parent), m_binding(this)
{
    setReadOnly(true);
    setAlignment(Qt::AlignRight);
    connect(&m_binding, &FieldBinding::valueChanged, this, &FieldEdit::refresh);
}

void FieldEdit::bind(store::Table *table, const QString &field)
{
    m_binding.bind(table, field);
}

void FieldEdit::unbind()
{
    m_binding.unbind();
    clear();
}

void FieldEdit::refresh()
{
    setText(m_binding.currentText());
    setToolTip(m_binding.currentHint());
    setCursorPosition(0);
}

void FieldEdit::commit()
{
    if (!isReadOnly())
        m_binding.write(text());
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

FieldMemo::FieldMemo(QWidget *parent) : QPlainTextEdit(parent), m_binding(this)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    connect(&m_binding, &FieldBinding::valueChanged, this, &FieldMemo::refresh);
}

void FieldMemo::bind(store::Table *table, const QString &field)
{
    m_binding.bind(table, field);
}

void FieldMemo::refresh()
{
    setPlainText(m_binding.currentText());
}

void FieldMemo::commit()
{
    if (isReadOnly())
        return;
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_binding.write(text);
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
