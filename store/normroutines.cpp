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
    NormOpen(Table &norm, bool writing) : norm_(norm), wasOpen_(norm.isOpen()), writing_(writing)
    {
        if (!wasOpen_)
            norm_.open();
    }
    ~NormOpen()
    {
        try {
            if (writing_)
                norm_.flush();
            if (!wasOpen_)
                norm_.close();
        } catch (const TableError &) {
            // the operation that failed reports its own error
        }
    }

private:
    Table &norm_;
    bool wasOpen_;
    bool writing_;
};

// Keeps sir's current raw material across a walk: found again by its order at the end.
class SirPosition final
{
    Q_DISABLE_COPY_MOVE(SirPosition)

public:
    explicit SirPosition(Table &sir)
        : sir_(sir), order_(sir.isEmpty() ? 0 : sir.integer(orderField))
    {
    }
    void restore()
    {
        if (sir_.indexName().compare(orderField, Qt::CaseInsensitive) != 0)
            sir_.setIndexName(orderField);
        if (!sir_.findKey(order_))
            sir_.first();
    }

private:
    Table &sir_;
    int order_;
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

int loadedNormsFeedKey(const DataModule &dm)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*kodkk\\s*=\\s*(\\d+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(dm.inclusionNorms.filter());
    return match.hasMatch() && dm.inclusionNorms.filtered() ? match.captured(1).toInt() : -1;
}

bool DropRawHighlight(DataModule &dm)
{
    Table &sir = dm.rawMaterials;
    if (!hasHighlight(sir))
        return false;
    DataSourceOff off(sir);
    cancelHighlight(sir);
    return true;
}

void SaveNorms(DataModule &dm)
{
    Table &sir = dm.rawMaterials;
    Table &norm = dm.inclusionNorms;
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

void LoadNorms(DataModule &dm)
{
    Table &kk = dm.feedTypes;
    Table &sir = dm.rawMaterials;
    Table &norm = dm.inclusionNorms;
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

} // namespace store
