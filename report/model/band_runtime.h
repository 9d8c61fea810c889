#pragma once
// What the object model sees of a run-time band (the band engine's TfrBand
// derives from this). Template objects point at their run-time band during a
// run; band objects forward the script changes of their properties to it.

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
