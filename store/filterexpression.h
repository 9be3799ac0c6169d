#pragma once

// The filter language of the tables: comparisons of a field with a number or a quoted
// text ("kodkk=12", "ot='+'", "arnom>0"), joined by and/or/not and parentheses
// ("(arnom>0) and (vibor='+')"). Operators = <> != < > <= >=; keywords in any case;
// text compares by its 1251 bytes with trailing blanks ignored, numbers numerically
// (a blank number is 0; one that holds no number, or a fraction in a field without
// decimals, makes matches() throw, since the records it ties would drop out unsaid).

#include "store/dbffile.h"

#include <QString>

#include <memory>
#include <stdexcept>

namespace store
{

class FilterError final : public std::runtime_error
{
public:
    explicit FilterError(const QString &why) : std::runtime_error(why.toStdString()) {}
    QString why() const { return QString::fromStdString(what()); }
};

class FilterExpression final
{
    Q_DISABLE_COPY_MOVE(FilterExpression)

public:
    struct Node;

    // Checks the syntax; throws FilterError.
    explicit FilterExpression(const QString &text);
    ~FilterExpression();

    // Resolves field names against a table's fields; throws FilterError for a missing
    // field or a comparison of a text with a number.
    void bind(const QList<DbfField> &fields);
    bool matches(const QByteArray &record) const; // only after bind(); throws FilterError
    QList<int> fieldIndexes() const;              // fields the expression reads

private:
    std::unique_ptr<Node> root_;
    const QList<DbfField> *fields_ = nullptr; // bound fields, owned by the table
};

} // namespace store
