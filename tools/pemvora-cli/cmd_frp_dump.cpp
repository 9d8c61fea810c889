// pemvora-cli frp-dump FILE.frp: a prepared report as JSON.
//
// Every page with its paper and margins, and its objects as they were
// printed: positions on the page in design pixels, the printed lines (UTF-8,
// without end-of-paragraph marks), and the fields of the object's kind that
// a prepared record keeps. A damaged file: the reason on stderr, exit 1.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "platform/text/gbk.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;
using nlohmann::json;

std::string u(std::string_view gbk) { return text::gbkToUtf8(gbk); }

json printedLines(const StringList& lines)
{
    json out = json::array();
    for (std::string_view line : lines) {
        while (!line.empty() && line.back() == '\x01') line.remove_suffix(1);
        out.push_back(u(line));
    }
    return out;
}

std::string hex(std::string_view bytes)
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

json object(const TfrView& v)
{
    json o{
        {"kind", v.ObjectKind},
        {"class", std::string(v.ClassName())},
        {"name", u(v.Name)},
        {"left", v.Left},
        {"top", v.Top},
        {"width", v.Width},
        {"height", v.Height},
        {"memo", printedLines(v.Memo)},
        {"flags", v.Flags},
        {"frameTyp", v.FrameTyp},
        {"frameWidth", v.FrameWidth},
        {"frameColor", v.FrameColor},
        {"frameStyle", v.FrameStyle},
        {"fillColor", v.FillColor},
        {"restrictions", v.Restrictions},
        {"tag", u(v.Tag)},
        {"gapX", v.GapX},
        {"gapY", v.GapY},
        {"bandAlign", v.BandAlign},
    };
    if (const auto* m = dynamic_cast<const TfrMemoView*>(&v)) {
        o["font"] = {{"name", u(m->Font.Name)},
                     {"size", m->Font.Size},
                     {"style", m->Font.Style},
                     {"color", m->Font.FontColor},
                     {"charset", m->Font.Charset}};
        o["alignment"] = m->Alignment;
        o["lineSpacing"] = m->LineSpacing;
        o["charSpacing"] = m->CharSpacing;
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
        o["graphicBytes"] = hex(p->Picture.Data);
    }
    return o;
}

json page(TfrEMFPages& pages, int index)
{
    pages.LoadPageObjects(index);
    const TfrPreparedPage& p = pages.Page(index);
    json objects = json::array();
    for (const auto& view : p.PageObjects->PageObjects) objects.push_back(object(*view));
    json out{
        {"paperSize", p.Paper.size},
        {"paperWidth", p.Paper.width},
        {"paperHeight", p.Paper.height},
        {"orientation", p.Paper.orientation},
        {"bin", p.Paper.bin},
        {"useMargins", p.UseMargins},
        {"margins", {p.Margins.Left, p.Margins.Top, p.Margins.Right, p.Margins.Bottom}},
        {"objects", std::move(objects)},
    };
    pages.ReleasePageObjects(index);
    return out;
}

void run(const std::string& file)
{
    ensureGuiSession();
    resetEngine();
    std::string gbkName;
    if (!text::tryUtf8ToGbk(file, gbkName)) throw CommandFailure("The file name cannot be held in GBK: " + file);
    TfrReport report;
    engine().CurrentReport = &report;
    TfrEMFPages& pages = PreparedPages(report);
    try {
        pages.LoadFromFile(gbkName);
    } catch (const PreparedReportError& e) {
        throw CommandFailure(e.what());
    }
    json list = json::array();
    for (int i = 0; i < pages.Count(); ++i) list.push_back(page(pages, i));
    const json doc{{"pages", std::move(list)}};
    std::cout << doc.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

static Registration reg{[](CLI::App& root) {
    auto file = std::make_shared<std::string>();
    CLI::App* cmd = root.add_subcommand("frp-dump", "Print a prepared report as JSON");
    cmd->add_option("FILE", *file, "Prepared report file (.frp)")->required();
    cmd->callback([file] { run(*file); });
}};

} // namespace
} // namespace pemvora::cli
