#include "lp/simplexcycle.h"

namespace lp
{

namespace
{

// A 64-bit mixer (splitmix64's finaliser): nearby inputs give unrelated outputs.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

void CycleWatch::start(std::uint64_t fingerprint)
{
    saved_ = fingerprint;
    power_ = 1;
    length_ = 0;
}

bool CycleWatch::repeated(std::uint64_t fingerprint)
{
    ++length_;
    if (fingerprint == saved_)
        return true;
    if (length_ == power_) { // Brent: move the saved point on, double the window
        saved_ = fingerprint;
        power_ *= 2;
        length_ = 0;
    }
    return false;
}

std::uint64_t CycleWatch::rowPart(int row, int label)
{
    return mix((std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(label));
}

std::uint64_t CycleWatch::columnPart(int column, int label, bool atLower)
{
    const std::uint64_t key = (1ULL << 63) | (std::uint64_t(std::uint32_t(column)) << 33) |
                              (std::uint64_t(std::uint32_t(label)) << 1) | (atLower ? 1 : 0);
    return mix(key);
}

} // namespace lp
