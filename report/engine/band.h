#pragma once
// TfrBand: the run-time band. One is made for every band view of a template
// page when a run starts, plus one empty band of every kind; the band engine
// (band_engine.h) walks them. A band holds the view's settings for the run,
// the objects it prints (their tops relative to the band), its links to the
// bands it works with (header, footer, groups, child), its data source, its
// counters (LINE#) and the accumulators of the aggregates it collects.

#include "platform/value/value.h"
#include "report/model/band_runtime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrPage;
class TfrView;
class TfrBandView;
class TfrDataset;
class TfrUserDataset;

class TfrBand final : public TfrBandRuntime {
public:
    TfrBand(int kind, TfrPage& page, TfrReport& report);
    // Releases the data sources the band uses and frees those it made.
    ~TfrBand() override;
    TfrBand(const TfrBand&) = delete;
    TfrBand& operator=(const TfrBand&) = delete;

    // Takes the view's settings for the run (the view's RuntimeBand becomes this band).
    void TakeView(TfrBandView& view);

    // --- the data source (TfrBandRuntime) ---
    // "DataSource" of the view: a group header takes the text as its
    // condition; a text with ";" names no source; a number makes a source of
    // that many records; any other text names a data source component. A
    // master data band left without one uses the report's Dataset (simple
    // reports). The source found is prepared; the one it replaces is released.
    void OpenDataSource(const std::string& name) override;
    bool Eof() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool HasDataSource() const override { return DataSet != nullptr; }

    // A band of the template, or the holder of the objects outside bands
    // when it has any; the empty bands of a page do not exist.
    bool Exists() const;
    bool IsDataBand() const;
    TfrBand* Child() const { return static_cast<TfrBand*>(ChildBand); }

    // The group condition's value for the current record (compiled once per
    // condition text).
    Value ConditionValue();

    TfrPage& Page;
    TfrBandView* View = nullptr;
    std::uint16_t Flags = 0;
    // The bands of the same kind on the page, by top; LastBand in the first.
    TfrBand* NextBand = nullptr;
    TfrBand* PrevBand = nullptr;
    TfrBand* LastBand = nullptr;
    // Group headers attached to a data band.
    TfrBand* NextGroup = nullptr;
    TfrBand* PrevGroup = nullptr;
    TfrBand* FirstGroup = nullptr;
    TfrBand* LastGroup = nullptr;
    // A data band: its header and footer; a group header: its group footer.
    TfrBand* HeaderBand = nullptr;
    TfrBand* FooterBand = nullptr;
    // A header or footer: the data band it belongs to.
    TfrBand* DataBand = nullptr;

    // Printing a repeated group header does not reset accumulators.
    bool SuppressReset = false;
    int LineNo = 1;
    int LineThroughNo = 1;
    // A group header: the condition's value when it was last printed.
    Value LastGroupValue;
    int ComputedHeight = 0;
    int SplitHeight = 0;
    int CrossRecordMax = 0;
    // A multi-column data band: the column of the next record, and where the row began.
    int ColumnNo = 1;
    int SavedColumnOffset = 0;
    bool PrintIfSubsetEmpty = false;
    bool NewPageAfter = false;
    bool PrintChildIfInvisible = false;
    bool KeepAssignedCurY = false;
    bool SkipScriptOnce = false;
    bool SubReportsDone = true;

    // The objects the band prints, tops relative to the band.
    std::vector<TfrView*> Objects;

    TfrDataset* DataSet = nullptr;
    // The source that drives the cross columns of this band (prepared, not owned).
    TfrDataset* CrossDataSet = nullptr;

private:
    void releaseDataSet();

    TfrReport& report_;
    std::unique_ptr<TfrUserDataset> ownedDataSet_;
    std::string compiledFrom_;
    std::string compiledCondition_;

};

} // namespace pemvora::report
