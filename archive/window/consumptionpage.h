#pragma once

// The printed raw-material consumption list: its lines in Courier New 10 pt bold, one
// every 100 units of the virtual page from y 200, continuing on further pages when the
// list is longer than a sheet.

#include <QStringList>

#include <functional>

class QPainter;

namespace archive
{

class ConsumptionPage final
{
public:
    explicit ConsumptionPage(QPainter *painter, std::function<bool()> newPage = {});

    // Returns the number of pages drawn.
    int draw(const QStringList &lines);

private:
    QPainter *painter_;
    std::function<bool()> newPage_;
};

} // namespace archive
