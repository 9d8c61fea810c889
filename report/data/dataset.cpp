#include "report/data/dataset.h"

#include "platform/text/gbk.h"

namespace pemvora::report {

int IDataSet::fieldIndex(std::string_view name) const
{
    const std::vector<FieldInfo>& f = fields();
    for (std::size_t i = 0; i < f.size(); ++i)
        if (text::equalsNoCase(f[i].name, name)) return static_cast<int>(i);
    return -1;
}

Value reportFieldValue(const IDataSet& dataSet, int index)
{
    const FieldInfo& info = dataSet.fields().at(static_cast<std::size_t>(index));
    const Value v = dataSet.fieldValue(index);
    if (v.isNull()) {
        switch (info.kind) {
        case FieldKind::String:
        case FieldKind::WideString: return Value(std::string());
        case FieldKind::Boolean: return Value(false);
        default: return Value(0);
        }
    }
    if (info.hasDisplayText || info.kind == FieldKind::LargeInt) return Value(dataSet.fieldDisplayText(index));
    return v;
}

} // namespace pemvora::report
