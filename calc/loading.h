#pragma once

// Loading and checking of the calculation data: the selected feed types and raw
// materials go from the tables into the selection, with their norms, inclusion
// limits, contents, prices and stock; the feed types' price limits are brought down to
// the level of raw-material cost; every problem found becomes one line of the
// diagnostics list. A smaller set of stock checks runs before every attempt of a run,
// since the output search changes the outputs.

#include "calc/selection.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace settings
{
struct Settings;
}

namespace store
{
class Table;
}

namespace calc
{

// The settings values the calculation uses.
struct CalcParameters {
    double lossNorm = 0;             // L, production loss norm, %
    double productionCosts = 0;      // C, roubles per tonne of output
    double profitability = 0;        // Rp, %
    double granulationSurcharge = 0; // G, roubles per tonne

    static CalcParameters fromSettings(const settings::Settings &values);
    // Values out of the range of their fields in the parameters window, each naming its
    // setting: the load puts them on the error list, so no run goes on with them.
    QStringList problems() const;
};

// The table cursors the load walks, as the calculation window leaves them: pit over its
// list in display order, kk and sir restricted to the selected entries ("ot='+'").
// norm is opened with its index "si" for the load and closed again; order (may be
// null) gives the number of characteristics, else the records of pit are counted.
// ratio (may be null, its file may be missing: no ratios) is read from its file by a
// cursor of the load's own, so a window's filter on it stays.
struct CalcTables {
    store::Table *pit = nullptr;   // characteristics, nutrient characteristics
    store::Table *kk = nullptr;    // feedTypes, feed types
    store::Table *sir = nullptr;   // rawMaterials, raw materials
    store::Table *norm = nullptr;  // inclusionNorms, inclusion limits
    store::Table *order = nullptr; // counters, list counts
    store::Table *ratio = nullptr; // ratios, nutrient ratios
};

// Per feed type and raw material: [p][s], both 1-based.
using InclusionTable = std::vector<std::array<double, kMaxRaws + 1>>;

// What the load keeps for the whole run besides the selection.
struct CalcWorkingValues {
    CalcWorkingValues();

    std::vector<double> output;      // W(p): the output to be tried next
    double totalOutput = 0;          // their sum
    std::vector<double> savedOutput; // the last outputs a solve succeeded with
    double savedTotal = 0;           // their sum, restored with them
    InclusionTable minInclusion;     // % of feed type p's batch raw material s must take
    InclusionTable maxInclusion;     // ... may take
    int currentFeed = 0;             // the feed type marked vib = "+"; 0 when none
    double totalStock = 0;           // Σ rawStock, unlimited counting 999999
    double surplus = 0;              // total stock − totalOutput
    double surplusRatio = 0;         // surplus / totalOutput; 0 when totalOutput < 0.001
    // An output, stock or inclusion limit was refused (unreadable or no usable data
    // number): the totals leave it out and the stock checks are not made.
    bool stockFigureRefused = false;
};

// Brings a selling price (with tax, granulation) down to the admissible raw-material
// cost of one tonne: tax out, then surcharge and profitability, then costs and losses;
// a negative result is 0.
double rawCostOfPrice(double price, double vat, const CalcParameters &parameters);
// The other way: the selling price whose raw-material cost is cost (cost above 0).
double priceOfRawCost(double cost, double vat, const CalcParameters &parameters);
// How much the raw-material cost moves per rouble of the selling price (above 0).
double rawCostPerPriceRouble(double vat, const CalcParameters &parameters);

// Reads the selection and the working values and appends every problem found to
// diagnostics. A number that cannot be read or is no usable data number is refused on
// the list by name, and no other check or message uses it. Throws store::TableError when
// a table or field cannot be read.
void loadCalculationData(Selection &selection, CalcWorkingValues &working, const CalcTables &tables,
                         const CalcParameters &parameters, QStringList &diagnostics);

// Before every attempt: the working outputs go into the selection, the column bounds
// are set to the inclusion limits in percent, and the stock checks append their messages.
// The full-use check runs in the cost mode only; none runs after a refused stock figure.
void checkAttempt(Selection &selection, const CalcWorkingValues &working,
                  const CalcParameters &parameters, bool costMode, QStringList &diagnostics);

} // namespace calc
