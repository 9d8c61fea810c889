#pragma once
// Aggregate functions: SUM, MIN, MAX, AVG and COUNT over the records of a data
// band, shown by a footer (or summary, page footer, group footer).
//
// They work in two phases. Before a page is built, the band engine runs the
// collection pass (CollectAggregates): every aggregate call found in a band
// registers an accumulator entry in the data band the call belongs to and links
// the band to it (AggregateBand). While printing, the engine accumulates every
// record into the data band's entries (AccumulateAggregates) and resets them
// after the band that shows them (ResetAggregates); the call, evaluated while
// its band prints, reads its entry.
//
// An entry lives in the data band's Values under the name: key, \1, the
// function's code character, \1, the first argument as written, \1, the flag
// argument as written, \1. The key is the showing band's name, or "0" \1 name
// for the template entry of a band printed across cross columns, whose copies
// per column carry the column number instead of "0".
//
// SUM, AVG and COUNT start at 0; MIN and MAX start with no value (Null) and
// take the first value they see; over no records they give Null, which a text
// object shows as nothing. AVG divides by the records accumulated since the
// reset (0 when there were none).

#include "platform/value/value.h"

#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrView;
class TfrBandRuntime;
struct FunctionCall;

namespace aggregate {
inline constexpr char Sum = 11;
inline constexpr char Min = 12;
inline constexpr char Max = 13;
inline constexpr char Avg = 14;
inline constexpr char Count = 15;
} // namespace aggregate

// The value of an aggregate call with this code. During the collection pass
// (engine().CollectingAggregates, engine().AggregateTarget = the data band,
// engine().CurrentBand = the band scanned) it registers the entry and gives
// "0"; while printing (engine().CurrentBand = the band shown) it gives the
// entry's value, or "0" when the band has no aggregate band.
Value AggregateCall(char code, const FunctionCall& call);

// The collection pass for one data band `target` and one band `scanned` (with
// `scannedView`, its band view, and its objects in list order): finds the
// aggregate calls of the band's script, of every bracket of its text objects
// and of their scripts, looking through dictionary variables, and evaluates
// each call found so that it registers. Sets and restores CollectingAggregates,
// AggregateTarget, CurrentBand and CurrentView. Errors leave to the caller.
void CollectAggregates(TfrReport& report, TfrBandRuntime& target, TfrBandRuntime& scanned, TfrView* scannedView,
                       const std::vector<TfrView*>& objects);

// One record of a data band: every entry takes the value of its expression
// (evaluated once for entries of the same expression; Null counts as 0) when
// the band is Visible or the entry's flag is "1"; COUNT adds 1. A band with
// cross objects first copies its template entries for the current cross column
// (engine().Run's ColumnNo) and accumulates the copies of that column only.
// AggregateCount grows by 1.
void AccumulateAggregates(TfrReport& report, TfrBandRuntime& dataBand);

// After `band` has shown its aggregates: the entries its aggregate band keeps
// for it start again (MIN and MAX with no value, the others at 0) and the
// aggregate band's AggregateCount becomes 0. Nothing for a band without one.
void ResetAggregates(TfrBandRuntime& band);

// The names the collection pass looks for.
const std::vector<std::string>& aggregateFunctionNames();

} // namespace pemvora::report
