#pragma once

// Edit fields bound to one field of a table cursor's current record: they show the
// value of the record the cursor stands on, follow it when it moves, and write what the
// user typed to that record (posted at once) when the field is left or Enter is pressed.
// While the cursor's data source is switched off they ignore the cursor.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "store/table.h"

namespace lists
{

// What both bound widgets share: the binding, reading and writing of the value.
class FieldBinding final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FieldBinding)

public:
    explicit FieldBinding(QWidget *owner);

    void bind(store::Table *table, const QString &field);
    void unbind();
    store::Table *table() const { return table_; }
    QString field() const { return field_; }
    bool isBound() const { return table_ && !field_.isEmpty(); }

    QString currentText() const; // the value of the current record, as shown
    QString currentHint() const; // what is wrong with it (a number that cannot be read)
    // Writes typed text to the current record; false (after a warning box) when the
    // text cannot be stored. Unchanged text writes nothing.
    bool write(const QString &text);

signals:
    void valueChanged(); // the shown value should be re-read

private:
    bool live() const;
    void onRecordChanged(int position);

    QWidget *owner_;
    QPointer<store::Table> table_;
    QString field_;
    QList<QMetaObject::Connection> connections_;
};

// A single-line field (the characteristic values of the list windows). Enter writes the
// value and moves on to the next field, so a column of values is typed without the mouse.
class FieldEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FieldEdit)

public:
    explicit FieldEdit(QWidget *parent = nullptr);

    void bind(store::Table *table, const QString &field);
    void unbind();
    QString field() const { return binding_.field(); }
    void refresh();
    void commit(); // writes the typed text (read-only fields write nothing)

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    FieldBinding binding_;
};

// A multi-line field for a long text (the purpose of a feed type). Line breaks are not
// stored: the field is one line of text in the table.
class FieldMemo final : public QPlainTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FieldMemo)

public:
    explicit FieldMemo(QWidget *parent = nullptr);

    void bind(store::Table *table, const QString &field);
    void refresh();
    void commit();

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    FieldBinding binding_;
};

// Writes what is being typed in the focused field of window (a bound field or a grid
// cell): a window calls it before it closes, so that nothing typed is lost.
void commitTyping(QWidget *window);

} // namespace lists
