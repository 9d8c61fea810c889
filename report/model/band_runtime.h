#pragma once
// What the object model sees of a run-time band (the band engine's TfrBand
// derives from this). Template objects point at their run-time band during a
// run; band objects forward the script changes of their properties to it.

#include "report/data/variables.h"

#include <string>

namespace pemvora::report {

class TfrBandRuntime {
public:
    virtual ~TfrBandRuntime() = default;

    int Typ = 0;                           // band kind
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool Stretched = false;
    bool PageBreak = false;                // "Breaked" for this run
    // The page's holder of the objects that lie outside every band.
    bool IsObjectHolder = false;
    TfrBandRuntime* ChildBand = nullptr;
    std::string GroupCondition;
    std::string Name;                      // the band view's name

    // --- aggregates (report/script/aggregates.h) ---
    // A data band: the accumulator entries of the aggregate calls registered
    // in it, and the records accumulated since the last reset (the divisor
    // of AVG).
    TfrVariables Values;
    int AggregateCount = 0;
    // A band that shows aggregates: the data band whose Values it reads. A
    // cross data band: the row band being printed.
    TfrBandRuntime* AggregateBand = nullptr;
    // Some of the band's objects belong to a cross band: its entries are kept
    // per cross column.
    bool HasCrossObjects = false;

    // --- requests of the band's script for this print ---
    int ForceNewPageCount = 0;             // NEWPAGE
    int ForceNewColumnCount = 0;           // NEWCOLUMN

    // The band's data source, opened by name: the band engine
    // implements these; a band without a data source answers true to Eof.
    virtual void OpenDataSource(const std::string& name) = 0;
    virtual bool Eof() = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    virtual bool HasDataSource() const = 0;
};

} // namespace pemvora::report
