#pragma once

// Row and column numbers of a linear programme, counted from 1 as the method counts
// them. Each has a type of its own, so that a row number cannot index a column.
// (No <compare> here: Qt's moc cannot read it.)

namespace lp
{

template <typename Tag> class Index final
{
public:
    constexpr Index() = default;
    constexpr explicit Index(int number) : number_(number) {}

    constexpr int number() const { return number_; }
    constexpr bool operator==(const Index &) const = default;
    constexpr bool operator<(const Index &other) const { return number_ < other.number_; }
    constexpr Index &operator++()
    {
        ++number_;
        return *this;
    }

private:
    int number_ = 0;
};

using RowIndex = Index<struct RowTag>;
using ColIndex = Index<struct ColTag>;

} // namespace lp
