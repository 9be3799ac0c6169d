#include "store/table.h"

#include "store/codepage1251.h"
#include "store/dbffile.h"
#include "store/fieldcodec.h"
#include "store/filterexpression.h"
#include "store/numbertext.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace store
{

TableError::TableError(const QString &message) : std::runtime_error(message.toStdString()) {}

namespace
{

// The value of a record under the current index: numbers numerically (blank is 0),
// everything else by its 1251 bytes without trailing blanks.
struct Key {
    double number = 0;
    QByteArray text;
};

} // namespace

struct Table::Impl {
    Table *q = nullptr;
    QString fileName;
    DbfFile file;
    QList<FieldDef> knownFields;     // kept after close: a table can be made like a closed one
    QHash<QString, int> fieldByName; // upper-case name -> field number

    QList<IndexDef> indexes;
    QString indexName;
    int keyField = -1;      // field of the current index; -1 = physical order
    std::vector<Key> keys;  // per record, for the current index
    std::vector<int> order; // live records in index order

    bool ranged = false;
    Key low, high;
    QVariant lowValue, highValue; // as given, for those who save and restore the range

    QString filterText;
    std::unique_ptr<FilterExpression> filter; // bound while open
    bool filtered = false;
    std::vector<char> passes; // per record: the filter accepts it

    std::vector<int> view; // records of the view in order
    int pos = -1;
    bool bof = true;
    bool eof = true;

    State state = State::Inactive;
    QByteArray buffer; // the record being edited or inserted
    int editRecord = -1;
    bool dataSourceEnabled = true;

    // --- helpers ---
    [[noreturn]] void fail(const QString &what) const
    {
        throw TableError(QStringLiteral("Таблица %1: %2").arg(fileName, what));
    }
    void requireOpen() const
    {
        if (state == State::Inactive)
            fail(QStringLiteral("таблица не открыта"));
    }
    void requireFileName() const
    {
        if (fileName.isEmpty())
            throw TableError(
                QStringLiteral("Таблица %1: не задано имя файла").arg(q->objectName()));
    }
    int fieldNumber(const QString &name) const
    {
        const int index = fieldByName.value(name.toUpper(), -1);
        if (index < 0)
            throw TableError(QStringLiteral("В таблице %1 нет поля %2").arg(fileName, name));
        return index;
    }
    const DbfField &field(int index) const
    {
        if (index < 0 || index >= file.fields().size())
            fail(QStringLiteral("нет поля с номером %1").arg(index + 1));
        return file.fields().at(index);
    }
    bool editing() const { return state == State::Edit || state == State::Insert; }
    const QByteArray *currentBytes() const
    {
        if (editing())
            return &buffer;
        if (state == State::Inactive || pos < 0)
            return nullptr;
        return &file.record(view[size_t(pos)]);
    }
    int currentRecord() const { return pos < 0 ? -1 : view[size_t(pos)]; }
    // The 1-based number of the record being read, as a message names it.
    int recordNumber() const
    {
        if (state == State::Insert)
            return file.recordCount() + 1;
        return (state == State::Edit ? editRecord : currentRecord()) + 1;
    }

    bool numericKey() const
    {
        return keyField >= 0 && isNumericType(file.fields().at(keyField).def.type);
    }
    Key keyOfRecord(const QByteArray &bytes, int record) const;
    Key keyOfValue(const QVariant &value) const;
    bool keyLess(const Key &a, const Key &b) const
    {
        return numericKey() ? a.number < b.number : a.text < b.text;
    }
    bool orderLess(int a, int b) const
    {
        if (keyLess(keys[size_t(a)], keys[size_t(b)]))
            return true;
        if (keyLess(keys[size_t(b)], keys[size_t(a)]))
            return false;
        return a < b;
    }
    bool inView(int record) const
    {
        if (file.isDeleted(record))
            return false;
        if (ranged && (keyLess(keys[size_t(record)], low) || keyLess(high, keys[size_t(record)])))
            return false;
        return !filtered || !filter || passes[size_t(record)];
    }

    void bindIndex();
    std::unique_ptr<FilterExpression> boundFilter(const QString &text) const;
    bool passesFilter(const FilterExpression &expression, const QByteArray &bytes,
                      int record) const;
    // Both throw on a record whose key or compared number cannot be read; nothing changes.
    std::vector<Key> computeKeys() const;
    std::vector<char> computePasses(const FilterExpression *expression) const;
    void rebuildOrder(std::vector<Key> newKeys);
    std::vector<int> computeView() const;
    void refreshRecord(int record, const Key &key, bool accepted);

    void moveTo(int newPos, bool newBof, bool newEof);
    void announceReset()
    {
        if (pos >= 0)
            emit q->beforeScroll();
    }
    void resetToFirst();
    bool postPending();
    void writeField(int index, const QVariant &value);
};

// A key that cannot be read is an error, never 0: the record would leave the list or the
// lookup without a word.
Key Table::Impl::keyOfRecord(const QByteArray &bytes, int record) const
{
    Key key;
    const DbfField &f = file.fields().at(keyField);
    const char *at = bytes.constData() + f.offset;
    if (!isNumericType(f.def.type)) {
        key.text = trimmedBytes(at, f.def.width);
        return key;
    }
    const std::optional<double> number = keyNumber(f.def, at);
    if (!number)
        fail(QStringLiteral("запись %1, %2").arg(record + 1).arg(keyProblem(f.def, at)));
    key.number = *number;
    return key;
}

Key Table::Impl::keyOfValue(const QVariant &value) const
{
    Key key;
    if (numericKey()) {
        bool ok = false;
        key.number = value.typeId() == QMetaType::QString ? parseNumber(value.toString(), &ok)
                                                          : value.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("ключ \"%1\" не число").arg(value.toString()));
        return key;
    }
    // A number sought among texts would compare as its digits: a list position in a text
    // field would leave every record out of the range.
    if (keyField >= 0 && (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double ||
                          value.typeId() == QMetaType::LongLong))
        fail(QStringLiteral("поле %1 (тип %2) не числовое, а ключ %3 - число")
                 .arg(file.fields().at(keyField).def.name,
                      QString(QLatin1Char(file.fields().at(keyField).def.type)), value.toString()));
    QString text = value.toString();
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    if (!encode1251(text, &key.text))
        fail(QStringLiteral("ключ \"%1\" не в кодировке 1251").arg(text));
    return key;
}

void Table::Impl::bindIndex()
{
    keyField = -1;
    if (indexName.isEmpty())
        return;
    for (const IndexDef &index : indexes) {
        if (index.name.compare(indexName, Qt::CaseInsensitive) == 0) {
            keyField = fieldNumber(index.field);
            return;
        }
    }
    fail(QStringLiteral("нет индекса %1").arg(indexName));
}

std::unique_ptr<FilterExpression> Table::Impl::boundFilter(const QString &text) const
{
    if (text.trimmed().isEmpty())
        return nullptr;
    try {
        auto expression = std::make_unique<FilterExpression>(text);
        expression->bind(file.fields());
        return expression;
    } catch (const FilterError &e) {
        fail(QStringLiteral("не удается применить фильтр \"%1\": %2").arg(text, e.why()));
    }
}

bool Table::Impl::passesFilter(const FilterExpression &expression, const QByteArray &bytes,
                               int record) const
{
    try {
        return expression.matches(bytes);
    } catch (const FilterError &e) {
        fail(QStringLiteral("запись %1, %2").arg(record + 1).arg(e.why()));
    }
}

// Deleted records are in no view: their bytes are not read.
std::vector<Key> Table::Impl::computeKeys() const
{
    std::vector<Key> result(size_t(file.recordCount()));
    for (int r = 0; keyField >= 0 && r < file.recordCount(); ++r) {
        if (!file.isDeleted(r))
            result[size_t(r)] = keyOfRecord(file.record(r), r);
    }
    return result;
}

std::vector<char> Table::Impl::computePasses(const FilterExpression *expression) const
{
    std::vector<char> result(size_t(file.recordCount()), 1);
    for (int r = 0; expression && r < file.recordCount(); ++r) {
        if (!file.isDeleted(r))
            result[size_t(r)] = passesFilter(*expression, file.record(r), r);
    }
    return result;
}

void Table::Impl::rebuildOrder(std::vector<Key> newKeys)
{
    keys = std::move(newKeys);
    order.clear();
    for (int r = 0; r < file.recordCount(); ++r) {
        if (!file.isDeleted(r))
            order.push_back(r);
    }
    if (keyField >= 0)
        std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
            return keyLess(keys[size_t(a)], keys[size_t(b)]);
        });
}

std::vector<int> Table::Impl::computeView() const
{
    std::vector<int> result;
    result.reserve(order.size());
    for (int record : order) {
        if (inView(record))
            result.push_back(record);
    }
    return result;
}

// Brings the caches up to date after record was written (or appended).
void Table::Impl::refreshRecord(int record, const Key &key, bool accepted)
{
    const auto r = size_t(record);
    if (r == keys.size()) {
        keys.push_back(key);
        passes.push_back(accepted);
    } else {
        order.erase(std::find(order.begin(), order.end(), record));
        keys[r] = key;
        passes[r] = accepted;
    }
    if (!file.isDeleted(record)) {
        const auto at = std::lower_bound(order.begin(), order.end(), record,
                                         [this](int a, int b) { return orderLess(a, b); });
        order.insert(at, record);
    }
}

// Moves to a view position, with the scroll events when the current record changes.
void Table::Impl::moveTo(int newPos, bool newBof, bool newEof)
{
    if (newPos == pos) {
        bof = newBof;
        eof = newEof;
        return;
    }
    emit q->beforeScroll();
    pos = newPos;
    bof = newBof;
    eof = newEof;
    emit q->afterScroll();
}

// After open, index, range and filter changes: the new view, first record current.
void Table::Impl::resetToFirst()
{
    view = computeView();
    pos = view.empty() ? -1 : 0;
    bof = true;
    eof = view.empty();
    emit q->viewChanged();
    emit q->afterScroll();
}

// Writes a pending edit or insert. Returns true when the cursor had to leave the posted
// record because it no longer belongs to the view.
bool Table::Impl::postPending()
{
    if (!editing())
        return false;
    const bool inserting = state == State::Insert;
    const int record = inserting ? file.recordCount() : editRecord;
    // a key that cannot be read is refused before the file changes; the edit stays pending
    const Key key = keyField >= 0 ? keyOfRecord(buffer, record) : Key();
    const bool accepted = !filter || passesFilter(*filter, buffer, record);
    file.writeRecord(record, buffer); // throws: the edit stays pending
    state = State::Browse;
    buffer.clear();
    editRecord = -1;
    refreshRecord(record, key, accepted);
    const bool stays = inView(record);
    if (!stays && !inserting)
        emit q->beforeScroll(); // still on the posted record, which is leaving the view
    const int oldPos = pos;
    if (!inserting)
        view.erase(view.begin() + oldPos);
    if (stays) {
        // The view is in index order (physical order without an index): the record goes
        // back at the place its key gives it.
        const auto at = std::lower_bound(view.begin(), view.end(), record,
                                         [this](int a, int b) { return orderLess(a, b); });
        const auto inserted = view.insert(at, record); // may move the storage
        pos = int(inserted - view.begin());
        bof = eof = false;
        if (inserting || pos != oldPos)
            emit q->viewChanged();
        else
            emit q->recordChanged(pos);
        return false;
    }
    // The record left the view (or a new one never entered it): the cursor goes to the
    // record now at its place, or the last one.
    const int last = int(view.size()) - 1;
    pos = inserting ? last : std::min(oldPos, last);
    bof = eof = view.empty();
    if (!inserting)
        emit q->viewChanged();
    emit q->afterScroll();
    return true;
}

void Table::Impl::writeField(int index, const QVariant &value)
{
    const DbfField &f = field(index);
    if (!editing())
        q->edit();
    QString why;
    const QByteArray bytes = encodeField(f.def, value, &why);
    if (!why.isEmpty())
        throw TableError(QStringLiteral("Таблица %1, поле %2: %3").arg(fileName, f.def.name, why));
    buffer.replace(f.offset, f.def.width, bytes);
}

// ---------------------------------------------------------------------------------------

Table::Table(const QString &objectName, QObject *parent) : QObject(parent), d(new Impl)
{
    d->q = this;
    setObjectName(objectName);
}

Table::~Table()
{
    try {
        close();
    } catch (const TableError &) {
        // the pending edit could not be written; nothing more can be done here
    }
}

void Table::setFileName(const QString &path)
{
    if (isOpen())
        d->fail(QStringLiteral("имя файла меняется только у закрытой таблицы"));
    d->fileName = path;
}

QString Table::fileName() const
{
    return d->fileName;
}

void Table::open()
{
    if (isOpen())
        return;
    d->requireFileName();
    d->file.open(d->fileName, d->fileName);
    try {
        d->fieldByName.clear();
        d->knownFields.clear();
        for (int i = 0; i < d->file.fields().size(); ++i) {
            d->fieldByName.insert(d->file.fields().at(i).def.name.toUpper(), i);
            d->knownFields.append(d->file.fields().at(i).def);
        }
        d->bindIndex();
        d->filter = d->boundFilter(d->filterText);
        d->rebuildOrder(d->computeKeys());
        d->passes = d->computePasses(d->filter.get());
    } catch (...) {
        d->file.close();
        d->filter.reset();
        d->keys.clear();
        d->order.clear();
        throw;
    }
    d->state = State::Browse;
    d->ranged = false;
    d->resetToFirst();
}

void Table::close()
{
    if (!isOpen())
        return;
    std::exception_ptr failure;
    try {
        d->postPending();
        if (d->file.hasDeferredRecords())
            d->file.flush();
    } catch (const TableError &) {
        failure = std::current_exception();
    }
    d->filter.reset();
    d->file.close();
    d->state = State::Inactive;
    d->buffer.clear();
    d->ranged = false;
    d->keys.clear();
    d->order.clear();
    d->passes.clear();
    d->view.clear();
    d->pos = -1;
    d->bof = d->eof = true;
    emit viewChanged();
    if (failure)
        std::rethrow_exception(failure);
}

bool Table::isOpen() const
{
    return d->state != State::Inactive;
}

void Table::flush()
{
    if (!isOpen())
        return;
    d->postPending();
    d->file.flush();
}

void Table::create(const QList<FieldDef> &fields, const QList<IndexDef> &indexes)
{
    if (isOpen())
        d->fail(QStringLiteral("открытая таблица не создается заново"));
    d->requireFileName();
    if (!indexes.isEmpty())
        d->indexes = indexes;
    DbfFile::create(d->fileName, d->fileName, fields);
    d->knownFields = fields;
}

void Table::createLike(const Table &source)
{
    QList<FieldDef> defs = source.fields();
    if (defs.isEmpty())
        defs = DbfFile::readFieldDefs(source.fileName(), source.fileName());
    if (isOpen())
        d->fail(QStringLiteral("открытая таблица не создается заново"));
    d->requireFileName();
    d->indexes = source.indexes();
    DbfFile::create(d->fileName, d->fileName, defs);
    d->knownFields = defs;
}

QList<FieldDef> Table::fields() const
{
    return d->knownFields;
}

int Table::fieldCount() const
{
    return isOpen() ? int(d->file.fields().size()) : int(d->knownFields.size());
}

int Table::fieldIndex(const QString &name) const
{
    if (isOpen())
        return d->fieldByName.value(name.toUpper(), -1);
    for (int i = 0; i < d->knownFields.size(); ++i) {
        if (d->knownFields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Table::hasField(const QString &name) const
{
    return fieldIndex(name) >= 0;
}

void Table::defineIndex(const IndexDef &index)
{
    for (IndexDef &known : d->indexes) {
        if (known.name.compare(index.name, Qt::CaseInsensitive) == 0) {
            known = index;
            return;
        }
    }
    d->indexes.append(index);
}

QList<IndexDef> Table::indexes() const
{
    return d->indexes;
}

void Table::setIndexName(const QString &name)
{
    const bool known =
        name.isEmpty() || std::any_of(d->indexes.begin(), d->indexes.end(), [&](const IndexDef &i) {
            return i.name.compare(name, Qt::CaseInsensitive) == 0;
        });
    if (!known)
        d->fail(QStringLiteral("нет индекса %1").arg(name));
    if (!isOpen()) {
        d->indexName = name;
        return;
    }
    d->postPending();
    if (name.compare(d->indexName, Qt::CaseInsensitive) == 0)
        return; // the same index: view, range and position stay
    const QString previous = d->indexName;
    d->indexName = name;
    std::vector<Key> keys;
    try {
        d->bindIndex();
        keys = d->computeKeys();
    } catch (const TableError &) {
        d->indexName = previous;
        d->bindIndex();
        throw;
    }
    d->announceReset();
    d->ranged = false;
    d->rebuildOrder(std::move(keys));
    d->resetToFirst();
}

QString Table::indexName() const
{
    return d->indexName;
}

void Table::setRange(const QVariant &low, const QVariant &high)
{
    d->requireOpen();
    if (d->keyField < 0)
        d->fail(QStringLiteral("диапазон задается только по индексу"));
    const Key lowKey = d->keyOfValue(low);
    const Key highKey = d->keyOfValue(high);
    d->postPending();
    d->announceReset();
    d->ranged = true;
    d->low = lowKey;
    d->high = highKey;
    d->lowValue = low;
    d->highValue = high;
    d->resetToFirst();
}

void Table::cancelRange()
{
    if (!isOpen())
        return; // close() has dropped it
    d->postPending();
    if (!d->ranged)
        return;
    d->announceReset();
    d->ranged = false;
    d->resetToFirst();
}

bool Table::hasRange() const
{
    return d->ranged;
}

QVariant Table::rangeLow() const
{
    return d->ranged ? d->lowValue : QVariant();
}

QVariant Table::rangeHigh() const
{
    return d->ranged ? d->highValue : QVariant();
}

void Table::setFilter(const QString &expression)
{
    if (!expression.trimmed().isEmpty()) {
        try {
            FilterExpression check(expression); // the syntax, also on a closed table
            if (isOpen())
                check.bind(d->file.fields());
        } catch (const FilterError &e) {
            d->fail(
                QStringLiteral("не удается применить фильтр \"%1\": %2").arg(expression, e.why()));
        }
    }
    if (!isOpen()) {
        d->filterText = expression;
        return;
    }
    d->postPending();
    if (expression == d->filterText)
        return;
    std::unique_ptr<FilterExpression> bound = d->boundFilter(expression);
    std::vector<char> passes = d->computePasses(bound.get()); // throws: the old filter stays
    if (d->filtered)
        d->announceReset();
    d->filterText = expression;
    d->filter = std::move(bound);
    d->passes = std::move(passes);
    if (d->filtered)
        d->resetToFirst();
}

QString Table::filter() const
{
    return d->filterText;
}

void Table::setFiltered(bool on)
{
    if (!isOpen()) {
        d->filtered = on;
        return;
    }
    d->postPending();
    if (on == d->filtered)
        return;
    d->announceReset();
    d->filtered = on;
    d->resetToFirst();
}

bool Table::filtered() const
{
    return d->filtered;
}

// --- navigation ---

void Table::first()
{
    d->requireOpen();
    d->postPending();
    if (d->view.empty())
        return;
    d->moveTo(0, true, false);
}

void Table::last()
{
    d->requireOpen();
    d->postPending();
    if (d->view.empty())
        return;
    d->moveTo(int(d->view.size()) - 1, false, true);
}

void Table::next()
{
    d->requireOpen();
    const int oldPos = d->pos;
    if (d->postPending()) {
        // The posted record left the view: the record now at its place is the next one.
        if (d->pos != oldPos || oldPos < 0)
            d->eof = true;
        return;
    }
    if (d->view.empty())
        return;
    if (d->pos + 1 < int(d->view.size()))
        d->moveTo(d->pos + 1, false, false);
    else
        d->eof = true;
}

void Table::prior()
{
    d->requireOpen();
    const int oldPos = d->pos;
    if (d->postPending() && d->pos < oldPos)
        return; // the posted record was the last: the cursor already stands before it
    if (d->view.empty())
        return;
    if (d->pos > 0)
        d->moveTo(d->pos - 1, false, false);
    else
        d->bof = true;
}

bool Table::bof() const
{
    return d->bof;
}

bool Table::eof() const
{
    return d->eof;
}

bool Table::isEmpty() const
{
    return d->view.empty();
}

int Table::viewCount() const
{
    return int(d->view.size());
}

int Table::viewPosition() const
{
    return d->pos;
}

void Table::moveTo(int position)
{
    d->requireOpen();
    d->postPending();
    if (d->view.empty())
        return;
    d->moveTo(std::clamp(position, 0, int(d->view.size()) - 1), false, false);
}

bool Table::findKey(const QVariant &key)
{
    d->requireOpen();
    if (d->keyField < 0)
        d->fail(QStringLiteral("поиск по ключу возможен только по индексу"));
    const Key wanted = d->keyOfValue(key);
    d->postPending();
    const auto at =
        std::lower_bound(d->view.begin(), d->view.end(), wanted, [this](int record, const Key &k) {
            return d->keyLess(d->keys[size_t(record)], k);
        });
    if (at == d->view.end() || d->keyLess(wanted, d->keys[size_t(*at)]))
        return false;
    d->moveTo(int(at - d->view.begin()), false, false);
    return true;
}

int Table::recordNumber() const
{
    return d->currentRecord();
}

bool Table::moveToRecord(int record)
{
    d->requireOpen();
    d->postPending();
    const auto at = std::find(d->view.begin(), d->view.end(), record);
    if (at == d->view.end())
        return false;
    d->moveTo(int(at - d->view.begin()), false, false);
    return true;
}

// --- reading ---

QVariant Table::value(const QString &field) const
{
    d->requireOpen();
    return value(d->fieldNumber(field));
}

QVariant Table::value(int field) const
{
    d->requireOpen();
    const DbfField &f = d->field(field);
    const QByteArray *bytes = d->currentBytes();
    return bytes ? decodeField(f.def, bytes->constData() + f.offset) : QVariant();
}

QString Table::text(const QString &field) const
{
    d->requireOpen();
    const DbfField &f = d->field(d->fieldNumber(field));
    const QByteArray *bytes = d->currentBytes();
    if (!bytes)
        return {};
    const QString text = decode1251(trimmedBytes(bytes->constData() + f.offset, f.def.width));
    return f.def.type == 'C' ? text : text.trimmed();
}

double Table::number(const QString &field) const
{
    d->requireOpen();
    const DbfField &f = d->field(d->fieldNumber(field));
    const QByteArray *bytes = d->currentBytes();
    if (!bytes)
        return 0;
    if (!isNumericType(f.def.type))
        return parseNumber(text(field));
    const char *at = bytes->constData() + f.offset;
    if (isBlankField(at, f.def.width))
        return 0;
    const std::optional<double> n = store::fieldNumber(at, f.def.width);
    if (!n)
        d->fail(QStringLiteral("запись %1, поле %2: число не читается: «%3»")
                    .arg(d->recordNumber())
                    .arg(f.def.name, shownFieldText(at, f.def.width)));
    return *n;
}

int Table::integer(const QString &field) const
{
    return int(std::lround(number(field)));
}

bool Table::logical(const QString &field) const
{
    return value(field).toBool();
}

bool Table::isBlank(const QString &field) const
{
    d->requireOpen();
    const DbfField &f = d->field(d->fieldNumber(field));
    const QByteArray *bytes = d->currentBytes();
    return !bytes || isBlankField(bytes->constData() + f.offset, f.def.width);
}

QVariant Table::valueAt(int position, int field) const
{
    d->requireOpen();
    const DbfField &f = d->field(field);
    if (position < 0 || position >= int(d->view.size()))
        return {};
    const QByteArray &bytes = position == d->pos && d->state == State::Edit
                                  ? d->buffer
                                  : d->file.record(d->view[size_t(position)]);
    return decodeField(f.def, bytes.constData() + f.offset);
}

// --- changing ---

Table::State Table::state() const
{
    return d->state;
}

void Table::edit()
{
    d->requireOpen();
    if (d->editing())
        return;
    if (d->pos < 0)
        d->fail(QStringLiteral("нет текущей записи для изменения"));
    d->state = State::Edit;
    d->editRecord = d->currentRecord();
    d->buffer = d->file.record(d->editRecord);
}

void Table::append()
{
    d->requireOpen();
    d->postPending();
    d->state = State::Insert;
    d->buffer = d->file.blankRecord();
    emit afterInsert();
}

void Table::post()
{
    d->requireOpen();
    d->postPending();
}

void Table::cancel()
{
    if (!d->editing())
        return;
    const bool wasEdit = d->state == State::Edit;
    d->state = State::Browse;
    d->buffer.clear();
    d->editRecord = -1;
    if (wasEdit && d->pos >= 0)
        emit recordChanged(d->pos);
}

void Table::setValue(const QString &field, const QVariant &value)
{
    d->requireOpen();
    d->writeField(d->fieldNumber(field), value);
}

void Table::setValue(int field, const QVariant &value)
{
    d->requireOpen();
    d->writeField(field, value);
}

void Table::setText(const QString &field, const QString &value)
{
    setValue(field, QVariant(value));
}

void Table::setNumber(const QString &field, double value)
{
    setValue(field, QVariant(value));
}

void Table::setBlank(const QString &field)
{
    setValue(field, QVariant());
}

// --- deferred writes ---

void Table::setWritesDeferred(bool on)
{
    if (on == d->file.deferred())
        return;
    if (!on)
        d->postPending();
    d->file.setDeferred(on);
}

bool Table::writesDeferred() const
{
    return d->file.deferred();
}

// --- data source ---

void Table::setDataSourceEnabled(bool on)
{
    if (d->dataSourceEnabled == on)
        return;
    d->dataSourceEnabled = on;
    emit dataSourceToggled(on);
}

bool Table::dataSourceEnabled() const
{
    return d->dataSourceEnabled;
}

} // namespace store
