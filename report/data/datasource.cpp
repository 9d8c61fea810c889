#include "report/data/datasource.h"

#include "platform/text/gbk.h"

#include <fmt/format.h>

namespace pemvora::report {

// ---- TfrDataset ----

void TfrDataset::First()
{
    RecNo = 0;
    if (OnFirst) OnFirst(*this);
}

void TfrDataset::Next()
{
    ++RecNo;
    if (!(RangeEnd == reCount && RecNo >= RangeEndCount) && OnNext) OnNext(*this);
}

void TfrDataset::Prior()
{
    --RecNo;
    if (OnPrior) OnPrior(*this);
}

bool TfrDataset::Eof()
{
    bool eof = RangeEnd == reCount && RecNo >= RangeEndCount;
    if (OnCheckEOF) OnCheckEOF(*this, eof);
    return eof;
}

// ---- DataSourceLink ----

DataSourceLink::~DataSourceLink()
{
    if (dataSet_) dataSet_->removeWatcher(this);
}

void DataSourceLink::SetDataSet(IDataSet* dataSet)
{
    if (dataSet_) dataSet_->removeWatcher(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->addWatcher(this);
}

void DataSourceLink::componentDestroyed(DataComponent* component)
{
    if (component == dataSet_) dataSet_ = nullptr;
}

// ---- TfrDBDataSet ----

TfrDBDataSet::~TfrDBDataSet()
{
    unwatch(dataSet_);
    unwatch(dataSource_);
}

void TfrDBDataSet::watch(DataComponent* c)
{
    if (c) c->addWatcher(this);
}

void TfrDBDataSet::unwatch(DataComponent* c)
{
    if (c) c->removeWatcher(this);
}

void TfrDBDataSet::SetDataSet(IDataSet* dataSet)
{
    unwatch(dataSource_);
    dataSource_ = nullptr;
    unwatch(dataSet_);
    dataSet_ = dataSet;
    watch(dataSet_);
}

void TfrDBDataSet::SetDataSource(DataSourceLink* dataSource)
{
    if (dataSource) {
        unwatch(dataSet_);
        dataSet_ = nullptr;
    }
    unwatch(dataSource_);
    dataSource_ = dataSource;
    watch(dataSource_);
}

void TfrDBDataSet::componentDestroyed(DataComponent* component)
{
    if (component == dataSet_) dataSet_ = nullptr;
    if (component == dataSource_) dataSource_ = nullptr;
}

IDataSet* TfrDBDataSet::EffectiveDataSetOrNull() const
{
    if (dataSource_ && dataSource_->DataSet()) return dataSource_->DataSet();
    return dataSet_;
}

IDataSet& TfrDBDataSet::EffectiveDataSet() const
{
    if (IDataSet* ds = EffectiveDataSetOrNull()) return *ds;
    throw DataError("Unable to open dataset " + Name());
}

void TfrDBDataSet::Prepare()
{
    IDataSet& ds = EffectiveDataSet();
    if (OpenDataSource) ds.open();
    if (OnOpen) OnOpen(*this);
    remembered_.reset();
    if (RangeBegin == rbCurrent || RangeEnd == reCurrent) remembered_ = ds.bookmark();
    reachedEnd_ = false;
}

void TfrDBDataSet::Release()
{
    // Release runs while runs are torn down: a dataset that is gone is skipped.
    IDataSet* ds = EffectiveDataSetOrNull();
    if (remembered_ && ds && ds->isOpen()) ds->gotoBookmark(*remembered_);
    remembered_.reset();
    if (OnClose) OnClose(*this);
    if (CloseDataSource && ds) ds->close();
}

void TfrDBDataSet::First()
{
    IDataSet& ds = EffectiveDataSet();
    if (RangeBegin == rbCurrent && remembered_) ds.gotoBookmark(*remembered_);
    else ds.first();
    reachedEnd_ = false;
    TfrDataset::First();
}

void TfrDBDataSet::Next()
{
    IDataSet& ds = EffectiveDataSet();
    reachedEnd_ = false;
    // With reCurrent the range ends at the remembered record: reaching it ends the
    // walk without moving, whether the walk began there or at the first record.
    if (RangeEnd == reCurrent && remembered_ && !ds.eof() && ds.sameBookmark(ds.bookmark(), *remembered_)) {
        reachedEnd_ = true;
        return;
    }
    ds.next();
    TfrDataset::Next();
}

void TfrDBDataSet::Prior()
{
    EffectiveDataSet().prior();
    TfrDataset::Prior();
}

bool TfrDBDataSet::Eof()
{
    const bool base = TfrDataset::Eof();
    return base || EffectiveDataSet().eof() || reachedEnd_;
}

// ---- lookup ----

DataComponent* FindDataComponent(const ComponentContainer* owner, const ComponentContainer* application,
                                 std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); i = text::nextChar(text, i)) {
        if (i == text.size() || text[i] == '.') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
        if (i == text.size()) break;
    }
    if (parts.size() == 1) return owner ? owner->find(parts[0]) : nullptr;
    if (parts.size() > 3) return nullptr;
    const ComponentContainer* scope = application;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const auto* next = scope ? dynamic_cast<const ComponentContainer*>(scope->find(parts[i])) : nullptr;
        if (!next) throw DataError(fmt::format("Missing {}", text));
        scope = next;
    }
    return scope->find(parts.back());
}

} // namespace pemvora::report
