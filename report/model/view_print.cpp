// Printing an object into a prepared page, and the steps every kind's print
// shares: the before-print step, the object's script, the expanded Tag.

#include "report/model/band_runtime.h"
#include "report/model/binary_stream.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/model/view.h"

#include "report/data/datasource.h"

namespace pemvora::report {

namespace {

// The dataset a data binding reads its field from, if it has one.
const IDataSet* boundDataSet(TfrDataset* source)
{
    if (const auto* db = dynamic_cast<TfrDBDataSet*>(source)) return db->EffectiveDataSetOrNull();
    return nullptr;
}

bool isBlobField(FieldKind kind) { return kind == FieldKind::Memo || kind == FieldKind::Blob; }

} // namespace

void TfrView::LoadFromBlobField(const IDataSet&, int) {}

void TfrView::BeforePrint()
{
    WorkLines = Memo;
    if (BoundDataSource && !BoundField.empty()) {
        if (const IDataSet* data = boundDataSet(BoundDataSource)) {
            const int index = data->fieldIndex(BoundField);
            if (index >= 0 && isBlobField(data->fields()[static_cast<std::size_t>(index)].kind))
                LoadFromBlobField(*data, index);
        }
    }
    if (TfrReport* report = engine().CurrentReport; report && report->OnBeforePrint)
        report->OnBeforePrint(WorkLines, *this);
}

void TfrView::RunScript()
{
    if (ScriptLines.empty()) return;
    if (ScriptRunner* scripts = engine().Scripts) scripts->RunScript(*this);
}

std::string TfrView::ExpandedTag()
{
    if (Tag.find('[') == std::string::npos) return Tag;
    ExpressionEvaluator* evaluator = engine().Evaluator;
    if (!evaluator) throw NoEvaluator();
    return evaluator->ExpandLine(Tag);
}

void TfrView::WriteRecord(BinaryWriter& stream)
{
    TemplateWriter writer(stream);
    stream.u8(ObjectKind);
    if (ObjectKind == kind::PlugIn) writer.WriteString(ClassName(), "class name");
    SaveObjectRecord(writer, *this);
}

void TfrView::Print(BinaryWriter& stream)
{
    ApplyBandAlign(canvas);
    BeforePrint();
    RunScript();
    if (!Visible) return;

    struct RestoreTag {
        TfrView& view;
        std::string tag;
        ~RestoreTag() { view.Tag = std::move(tag); }
    } restoreTag{*this, Tag};
    Tag = ExpandedTag();

    if (const TfrBandRuntime* band = engine().CurrentBand) {
        if (BandAlign == bandalign::Bottom) Top = band->Top + band->Height - Height;
        else if (BandAlign == bandalign::Top) Top = band->Top;
        else if (BandAlign == bandalign::Width && bandkind::isCross(band->Typ)) Width = band->Width;
    }
    WriteRecord(stream);
}

Value TfrStretcheable::CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3)
{
    if (name == "CALCHEIGHT") return CalcHeight();
    return TfrView::CallMethod(name, arg1, arg2, arg3);
}

} // namespace pemvora::report
