#include "store/normroutines.h"

#include "store/datamodule.h"
#include "store/datasourceoff.h"
#include "store/highlight.h"
#include "store/unreadablenumber.h"

#include <QRegularExpression>

namespace store
{

namespace
{

const QString orderField = QStringLiteral("order");
const QString kodsField = QStringLiteral("kods");
const QString minorField = QStringLiteral("MINOR");
const QString manorField = QStringLiteral("MANOR");
const QString normIndex = QStringLiteral("si");

// Opens norm for the length of an operation and closes it again only when it was
// closed before; a writing operation flushes it first.
class NormOpen final
{
    Q_DISABLE_COPY_MOVE(NormOpen)

public:
    NormOpen(Table &norm, bool writing) : m_norm(norm), m_wasOpen(norm.isOpen()), m_writing(writing)
    {
        if (!m_wasOpen)
            m_norm.open();
    }
    ~NormOpen()
    {
        try {
            if (m_writing)
                m_norm.flush();
            if (!m_wasOpen)
                m_norm.close();
        } catch (const TableError &) {
            // the operation that failed reports its own error
        }
    }

private:
    Table &m_norm;
    bool m_wasOpen;
    bool m_writing;
};

// Keeps sir's current raw material across a walk: found again by its order at the end.
class SirPosition final
{
    Q_DISABLE_COPY_MOVE(SirPosition)

public:
    explicit SirPosition(Table &sir)
        : m_sir(sir), m_order(sir.isEmpty() ? 0 : sir.integer(orderField))
    {
    }
    void restore()
    {
        if (m_sir.indexName().compare(orderField, Qt::CaseInsensitive) != 0)
            m_sir.setIndexName(orderField);
        if (!m_sir.findKey(m_order))
            m_sir.first();
    }

private:
    Table &m_sir;
    int m_order;
};

// A limit as the routines move it: blank is 0, and a number that cannot be read passes
// through as it stands, so the norms grid shows it and the user can type over it.
QVariant limitValue(const QVariant &value)
{
    return value.isValid() ? value : QVariant(0.0);
}

bool isNonZero(const QVariant &limit)
{
    return isUnreadableNumber(limit) || limit.toDouble() != 0;
}

void setIfChanged(Table &table, const QString &field, const QVariant &value)
{
    const QVariant old = table.value(field);
    const bool same = isUnreadableNumber(old) || isUnreadableNumber(value)
                          ? unreadableText(old) == unreadableText(value)
                          : old.isValid() && old.toDouble() == value.toDouble();
    if (!same)
        table.setValue(field, value);
}

} // namespace

int loadedNormsFeedKey(const TDataModule2 &dm)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*kodkk\\s*=\\s*(\\d+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(dm.Table4.filter());
    return match.hasMatch() && dm.Table4.filtered() ? match.captured(1).toInt() : -1;
}

void DropRawHighlight(TDataModule2 &dm, FeedTypesWindowLink *window)
{
    Table &sir = dm.Table3;
    if (!hasHighlight(sir)) {
        if (window)
            window->focusFeedTypesGrid();
        return;
    }
    DataSourceOff off(sir);
    cancelHighlight(sir);
}

void SaveNorms(TDataModule2 &dm)
{
    Table &sir = dm.Table3;
    Table &norm = dm.Table4;
    const int feedKey = loadedNormsFeedKey(dm);
    if (feedKey < 0 || !sir.isOpen())
        return;
    NormOpen open(norm, true);
    if (norm.indexName().compare(normIndex, Qt::CaseInsensitive) != 0)
        norm.setIndexName(normIndex);
    SirPosition position(sir);
    {
        DataSourceOff off(sir);
        for (sir.first(); !sir.eof(); sir.next()) {
            const QVariant minimum = limitValue(sir.value(minorField));
            const QVariant maximum = limitValue(sir.value(manorField));
            if (norm.findKey(sir.integer(kodsField))) {
                setIfChanged(norm, QStringLiteral("min"), minimum);
                setIfChanged(norm, QStringLiteral("max"), maximum);
                norm.post();
            } else if (isNonZero(minimum) || isNonZero(maximum)) {
                norm.append();
                norm.setNumber(kodsField, sir.integer(kodsField));
                norm.setNumber(QStringLiteral("kodkk"), feedKey);
                norm.setValue(QStringLiteral("min"), minimum);
                norm.setValue(QStringLiteral("max"), maximum);
                norm.post();
            }
        }
        position.restore();
    }
}

void LoadNorms(TDataModule2 &dm, FeedTypesWindowLink *window)
{
    Table &kk = dm.Table2;
    Table &sir = dm.Table3;
    Table &norm = dm.Table4;
    if (window)
        window->lockFeedTypeEditors();
    if (!sir.isOpen() || !kk.isOpen())
        return;
    NormOpen open(norm, false);
    SirPosition position(sir);
    DataSourceOff off(sir);
    // Without a feed type there is nothing to load, and nothing to write back later.
    norm.setFilter(kk.isEmpty() ? QString()
                                : QStringLiteral("kodkk=") +
                                      QString::number(kk.integer(QStringLiteral("kodkk"))));
    norm.setFiltered(!kk.isEmpty());
    if (norm.indexName().compare(normIndex, Qt::CaseInsensitive) != 0)
        norm.setIndexName(normIndex);
    for (sir.first(); !sir.eof(); sir.next()) {
        QVariant minimum = 0.0;
        QVariant maximum = 0.0;
        if (!kk.isEmpty() && norm.findKey(sir.integer(kodsField))) {
            minimum = limitValue(norm.value(QStringLiteral("min")));
            maximum = limitValue(norm.value(QStringLiteral("max")));
        }
        setIfChanged(sir, minorField, minimum);
        setIfChanged(sir, manorField, maximum);
    }
    sir.post();
    position.restore();
}

// --- scroll events on kk ---

FeedTypeScrollEvents::FeedTypeScrollEvents(TDataModule2 &dm, FeedTypesWindowLink &window)
    : m_dm(dm), m_window(window)
{
    connect(&dm.Table2, &Table::beforeScroll, this, &FeedTypeScrollEvents::beforeScroll);
    connect(&dm.Table2, &Table::afterScroll, this, &FeedTypeScrollEvents::afterScroll);
}

FeedTypeScrollEvents::~FeedTypeScrollEvents() = default;

void FeedTypeScrollEvents::beforeScroll()
{
    if (m_busy || !m_dm.Table2.dataSourceEnabled() || m_dm.Table2.isEmpty())
        return;
    m_busy = true;
    const bool normsReadOnly = m_window.normsGridReadOnly();
    try {
        DataSourceOff kkOff(m_dm.Table2);
        DataSourceOff sirOff(m_dm.Table3);
        m_window.setNormsGridReadOnly(true);
        DropRawHighlight(m_dm, &m_window);
        SaveNorms(m_dm);
    } catch (const TableError &e) {
        m_window.reportNormError(e.message());
    }
    m_window.setNormsGridReadOnly(normsReadOnly);
    m_busy = false;
}

void FeedTypeScrollEvents::afterScroll()
{
    if (m_busy || !m_dm.Table2.dataSourceEnabled())
        return;
    m_busy = true;
    try {
        LoadNorms(m_dm, &m_window);
    } catch (const TableError &e) {
        m_window.reportNormError(e.message());
    }
    m_busy = false;
}

} // namespace store
