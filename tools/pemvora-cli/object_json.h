#pragma once
// The JSON form of a report object, shared by dump (objects of a template, as
// written) and frp-dump (objects of a prepared page, as printed).

#include "platform/text/gbk.h"
#include "report/model/memo.h"
#include "report/model/objects.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace pemvora::cli {

enum class ObjectJsonForm {
    Template,   // memo and script as written, visibility and highlight
    Prepared,   // memo as printed, without end-of-paragraph marks
};

inline std::string hexOf(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(kDigits[static_cast<unsigned char>(c) & 15]);
    }
    return out;
}

inline nlohmann::json linesJson(const report::StringList& list, ObjectJsonForm form)
{
    nlohmann::json out = nlohmann::json::array();
    for (std::string_view line : list) {
        if (form == ObjectJsonForm::Prepared)
            while (!line.empty() && line.back() == '\x01') line.remove_suffix(1);
        out.push_back(text::gbkToUtf8(line));
    }
    return out;
}

inline nlohmann::json objectJson(const report::TfrView& v, ObjectJsonForm form)
{
    using namespace pemvora::report;
    const auto u = [](std::string_view gbk) { return text::gbkToUtf8(gbk); };
    nlohmann::json o{
        {"kind", v.ObjectKind},
        {"class", std::string(v.ClassName())},
        {"name", u(v.Name)},
        {"left", v.Left},
        {"top", v.Top},
        {"width", v.Width},
        {"height", v.Height},
        {"flags", v.Flags},
        {"frameTyp", v.FrameTyp},
        {"frameWidth", v.FrameWidth},
        {"frameColor", v.FrameColor},
        {"frameStyle", v.FrameStyle},
        {"fillColor", v.FillColor},
        {"memo", linesJson(v.Memo, form)},
        {"restrictions", v.Restrictions},
        {"tag", u(v.Tag)},
        {"gapX", v.GapX},
        {"gapY", v.GapY},
        {"bandAlign", v.BandAlign},
    };
    if (form == ObjectJsonForm::Template) {
        o["script"] = linesJson(v.ScriptLines, form);
        o["visible"] = v.Visible;
    }
    if (const auto* m = dynamic_cast<const TfrMemoView*>(&v)) {
        o["font"] = {{"name", u(m->Font.Name)},
                     {"size", m->Font.Size},
                     {"style", m->Font.Style},
                     {"color", m->Font.FontColor},
                     {"charset", m->Font.Charset}};
        o["alignment"] = m->Alignment;
        o["lineSpacing"] = m->LineSpacing;
        o["charSpacing"] = m->CharSpacing;
        if (form == ObjectJsonForm::Template)
            o["highlight"] = {{"fontStyle", m->Highlight.FontStyle},
                              {"fontColor", m->Highlight.FontColor},
                              {"fillColor", m->Highlight.FillColor},
                              {"condition", u(m->HighlightCondition)}};
    } else if (const auto* b = dynamic_cast<const TfrBandView*>(&v)) {
        o["childBand"] = u(b->ChildBand);
        o["master"] = u(b->Master);
        o["columns"] = b->Columns;
        o["columnWidth"] = b->ColumnWidth;
        o["columnGap"] = b->ColumnGap;
        o["newColumnAfter"] = b->NewColumnAfter;
    } else if (const auto* s = dynamic_cast<const TfrSubReportView*>(&v)) {
        o["subPage"] = s->SubPageIndex;
    } else if (const auto* p = dynamic_cast<const TfrPictureView*>(&v)) {
        o["graphicKind"] = static_cast<int>(p->Picture.IsEmpty() ? GraphicKind::None : p->Picture.Kind);
        o["blobType"] = p->BlobType;
        o["graphicBytes"] = hexOf(p->Picture.Data);
    }
    return o;
}

} // namespace pemvora::cli
