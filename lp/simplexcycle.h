#pragma once

// Watch for a cycling simplex: a fingerprint of the basis (which variable is basic in
// each row, which is non-basic in each column and at which of its bounds) is kept up
// to date by every flip and pivot, and Brent's method spots the first return to a
// fingerprint seen before with constant memory. A repeated basis means the method
// has come back where it was and would go round for ever: the caller then finishes
// the phase with a rule that cannot cycle.

#include <cstdint>

namespace lp
{

class CycleWatch final
{
public:
    // Starts a phase; fingerprint is the basis's fingerprint now.
    void start(std::uint64_t fingerprint);
    // After every flip or pivot of the phase: true once the basis has repeated.
    bool repeated(std::uint64_t fingerprint);

    // The parts of a fingerprint, combined by exclusive or.
    static std::uint64_t rowPart(int row, int label);
    static std::uint64_t columnPart(int column, int label, bool atLower);

private:
    std::uint64_t saved_ = 0;
    std::int64_t power_ = 1;
    std::int64_t length_ = 0;
};

} // namespace lp
