#pragma once
// Report data sources: what data bands walk records through.
//
// TfrDataset is the base: a range of records with First, Next, Prior and Eof,
// and Prepare and Release around a run. TfrUserDataset is driven by its events
// alone (or counts RangeEndCount records). TfrDBDataSet walks a database dataset.

#include "report/data/dataset.h"

#include <functional>
#include <optional>

namespace pemvora::report {

enum TfrRangeBegin { rbFirst, rbCurrent };
enum TfrRangeEnd { reLast, reCurrent, reCount };

class TfrDataset : public DataComponent {
public:
    using NotifyEvent = std::function<void(TfrDataset& sender)>;
    using CheckEofEvent = std::function<void(TfrDataset& sender, bool& eof)>;

    using DataComponent::DataComponent;

    TfrRangeBegin RangeBegin = rbFirst;
    TfrRangeEnd RangeEnd = reLast;
    int RangeEndCount = 0;
    NotifyEvent OnFirst, OnNext, OnPrior;
    CheckEofEvent OnCheckEOF;
    // Records advanced since First.
    int RecNo = 0;

    virtual void Prepare() {}
    virtual void Release() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
};

class TfrUserDataset : public TfrDataset {
public:
    using TfrDataset::TfrDataset;
};

// A data source component of the data layer: it points at a dataset.
class DataSourceLink : public DataComponent, private ComponentWatcher {
public:
    using DataComponent::DataComponent;
    ~DataSourceLink() override;
    IDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(IDataSet* dataSet);

private:
    void componentDestroyed(DataComponent* component) override;
    IDataSet* dataSet_ = nullptr;
};

class TfrDBDataSet : public TfrDataset, private ComponentWatcher {
public:
    using TfrDataset::TfrDataset;
    ~TfrDBDataSet() override;

    IDataSet* DataSet() const { return dataSet_; }
    DataSourceLink* DataSource() const { return dataSource_; }
    // Setting one clears the other (a null DataSource leaves DataSet as it is).
    void SetDataSet(IDataSet* dataSet);
    void SetDataSource(DataSourceLink* dataSource);

    bool OpenDataSource = true;
    bool CloseDataSource = false;
    NotifyEvent OnOpen, OnClose;

    // The DataSource's dataset when it has one, else DataSet; raises
    // DataError "Unable to open dataset <name>" when there is none.
    IDataSet& EffectiveDataSet() const;
    IDataSet* EffectiveDataSetOrNull() const;

    void Prepare() override;
    void Release() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

private:
    void componentDestroyed(DataComponent* component) override;
    void watch(DataComponent* c);
    void unwatch(DataComponent* c);

    IDataSet* dataSet_ = nullptr;
    DataSourceLink* dataSource_ = nullptr;
    std::optional<Bookmark> remembered_;   // the record current at Prepare (rbCurrent or reCurrent)
    bool reachedEnd_ = false;
};

// Finds a component named by a band's "DataSource" text or a field reference:
// "Name" among the components of `owner`; "Window.Name" (and one level more,
// "Window.Module.Name") through the application's top-level components. A name
// that finds nothing gives nullptr; a path whose window or module is missing
// raises DataError "Missing <text>".
DataComponent* FindDataComponent(const ComponentContainer* owner, const ComponentContainer* application,
                                 std::string_view text);

} // namespace pemvora::report
