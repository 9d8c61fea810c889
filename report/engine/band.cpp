#include "report/engine/band.h"

#include "report/data/datasource.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/script/names.h"

#include <climits>

namespace pemvora::report {

namespace {

// The record count of a "DataSource" text that begins with 1..9: its leading
// digits (a count beyond the integer range is the largest integer).
int recordCount(const std::string& text)
{
    long long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(n);
}

} // namespace

TfrBand::TfrBand(int kind, TfrPage& page, TfrReport& report) : Page(page), report_(report)
{
    Typ = kind;
    Visible = true;
}

TfrBand::~TfrBand()
{
    releaseDataSet();
    if (CrossDataSet) CrossDataSet->Release();
}

void TfrBand::TakeView(TfrBandView& view)
{
    View = &view;
    view.RuntimeBand = this;
    Flags = view.Flags;
    Visible = view.Visible;
    Name = view.Name;
    Left = view.Left;
    Top = view.Top;
    Width = view.Width;
    Height = view.Height;
    ColumnNo = 1;
}

void TfrBand::releaseDataSet()
{
    if (DataSet) DataSet->Release();
    DataSet = nullptr;
    ownedDataSet_.reset();
}

void TfrBand::OpenDataSource(const std::string& name)
{
    if (Typ == bandkind::GroupHeader) {
        GroupCondition = name;
        return;
    }
    releaseDataSet();
    if (name.find(';') != std::string::npos) return;
    if (!name.empty() && name.front() >= '1' && name.front() <= '9') {
        ownedDataSet_ = std::make_unique<TfrUserDataset>();
        ownedDataSet_->RangeEnd = reCount;
        ownedDataSet_->RangeEndCount = recordCount(name);
        DataSet = ownedDataSet_.get();
    } else if (!name.empty()) {
        DataSet = dynamic_cast<TfrDataset*>(FindDataComponent(report_.Owner, engine().Application, name));
    }
    if (!DataSet && Typ == bandkind::MasterData && report_.ReportType == TfrReportType::rtSimple)
        DataSet = report_.Dataset;
    if (DataSet) DataSet->Prepare();
}

bool TfrBand::Eof() { return DataSet ? DataSet->Eof() : true; }

void TfrBand::First()
{
    if (DataSet) DataSet->First();
}

void TfrBand::Next()
{
    if (DataSet) DataSet->Next();
}

void TfrBand::Prior()
{
    if (DataSet) DataSet->Prior();
}

bool TfrBand::Exists() const { return View != nullptr || (Typ == bandkind::None && !Objects.empty()); }

bool TfrBand::IsDataBand() const { return bandkind::isData(Typ); }

Value TfrBand::ConditionValue()
{
    // A group without a condition never breaks.
    if (GroupCondition.empty()) return Value(std::string());
    ReportEvaluator& evaluator = evaluatorFor(report_);
    if (compiledFrom_ != GroupCondition || compiledCondition_.empty()) {
        compiledCondition_ = evaluator.Compile(GroupCondition);
        compiledFrom_ = GroupCondition;
    }
    return evaluator.EvaluateCompiled(compiledCondition_);
}

} // namespace pemvora::report
