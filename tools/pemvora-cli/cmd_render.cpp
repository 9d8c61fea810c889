// pemvora-cli render FILE [--page N] [--scale S] [--design] [--png OUT.png]
// [--record OUT.json] [NAME=VALUE...]: draws one page of a template, or of a
// prepared report (a FILE ending in ".frp": its page as printed, at the scale).
//
// With --design the page is drawn as the designer shows it (texts as written,
// bands with their titles). Without it every object but the bands and
// sub-report markers is printed as a run prints it, with its lines expanded
// from the variables, and drawn from that record at its design position.
// --png writes the page at 96 pixels per inch times the scale; --record
// writes the drawing operations in drawing order as JSON.

#include "tools/pemvora-cli/expression_args.h"
#include "tools/pemvora-cli/template_session.h"

#include "report/canvas/painter_canvas.h"
#include "report/engine/prepared_pages.h"
#include "report/canvas/recording_canvas.h"
#include "report/model/binary_stream.h"
#include "report/model/objects.h"
#include "report/model/template_codec.h"
#include "report/script/names.h"

#include <QImage>
#include <QPainter>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;
using nlohmann::json;

struct RenderOptions {
    std::string file;
    int page = 1;
    double scale = 1.0;
    bool design = false;
    std::string png;
    std::string record;
    std::vector<std::string> assignments;
};

std::string colorText(Color c)
{
    const Color v = resolveColor(c);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    return buf;
}

std::string styleText(int style)
{
    std::string s;
    auto add = [&](const char* name) { s += s.empty() ? name : std::string(",") + name; };
    if (style & kFontBold) add("bold");
    if (style & kFontItalic) add("italic");
    if (style & kFontUnderline) add("underline");
    if (style & kFontStrikeOut) add("strikeout");
    return s;
}

const char* penStyleText(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid: return "solid";
    case PenStyle::Dash: return "dash";
    case PenStyle::Dot: return "dot";
    case PenStyle::DashDot: return "dashdot";
    case PenStyle::DashDotDot: return "dashdotdot";
    case PenStyle::Double: return "double";
    case PenStyle::Clear: return "clear";
    }
    return "solid";
}

// The operations as JSON; `k` scales coordinates that were drawn unscaled.
json recordJson(const RecordingCanvas& canvas, double k)
{
    auto n = [k](int v) { return k == 1.0 ? json(v) : json(static_cast<int>(std::lround(v * k))); };
    json ops = json::array();
    for (const Recorded& r : canvas.records()) {
        if (const auto* t = std::get_if<RecordedText>(&r)) {
            json font{{"name", text::gbkToUtf8(t->font.name)},
                      {"size", n(t->font.height)},
                      {"style", styleText(t->font.style)},
                      {"color", colorText(t->font.color)}};
            if (t->font.angle != 0) font["angle"] = t->font.angle;
            ops.push_back({{"op", "text"}, {"x", n(t->box.left)}, {"y", n(t->box.top)}, {"w", n(t->box.width())},
                           {"h", n(t->box.height())}, {"text", text::gbkToUtf8(t->text)}, {"font", font}});
        } else if (const auto* l = std::get_if<RecordedLine>(&r)) {
            ops.push_back({{"op", "line"}, {"x1", n(l->from.x)}, {"y1", n(l->from.y)}, {"x2", n(l->to.x)},
                           {"y2", n(l->to.y)}, {"width", n(std::max(1, l->pen.width))},
                           {"color", colorText(l->pen.color)}, {"style", penStyleText(l->pen.style)}});
        } else if (const auto* rc = std::get_if<RecordedRect>(&r)) {
            json o{{"op", rc->kind == RecordedRect::Kind::Rectangle ? "rect" : "fill"},
                   {"x", n(rc->rect.left)}, {"y", n(rc->rect.top)}, {"w", n(rc->rect.width())},
                   {"h", n(rc->rect.height())}};
            if (rc->kind == RecordedRect::Kind::Rectangle) {
                o["color"] = rc->pen.style == PenStyle::Clear ? json(nullptr) : json(colorText(rc->pen.color));
                if (rc->brush.style == BrushStyle::Solid) o["fill"] = colorText(rc->brush.color);
            } else if (rc->kind == RecordedRect::Kind::Fill) {
                o["color"] = colorText(rc->brush.color);
            } else {
                o["color"] = "hatch";
            }
            ops.push_back(o);
        } else if (const auto* im = std::get_if<RecordedImage>(&r)) {
            ops.push_back({{"op", "image"}, {"x", n(im->target.left)}, {"y", n(im->target.top)},
                           {"w", n(im->target.width())}, {"h", n(im->target.height())}});
        }
    }
    return ops;
}

// The object a prepared page gets when `view` prints itself, or none when it
// writes nothing (invisible, suppressed).
std::unique_ptr<TfrView> printed(TfrView& view)
{
    BinaryWriter out;
    view.PreparedMode = true;
    try {
        view.Print(out);
    } catch (...) {
        view.PreparedMode = false;
        throw;
    }
    view.PreparedMode = false;
    if (out.data().empty()) return nullptr;
    BinaryReader in(out.data());
    TemplateReader reader(in, kTemplateVersion);
    const int kindCode = in.u8();
    const std::string className = kindCode == kind::PlugIn ? reader.ReadString() : std::string();
    std::unique_ptr<TfrView> copy = CreateObject(kindCode, className);
    copy->PreparedMode = true;
    LoadObjectRecord(reader, *copy);
    return copy;
}

void paintPage(TfrPage& page, Canvas& canvas, const RenderOptions& o)
{
    EngineContext& e = engine();
    e.CurrentPage = &page;
    if (o.design) {
        e.Running = 0;
        e.DesignerPage = &page;
        for (const auto& view : page.PageObjects) view->Paint(canvas);
        return;
    }
    e.Running = 1;
    for (const auto& view : page.PageObjects) {
        if (dynamic_cast<TfrBandView*>(view.get()) || dynamic_cast<TfrSubReportView*>(view.get())) continue;
        std::unique_ptr<TfrView> copy = printed(*view);
        if (!copy) continue;
        copy->DeviceScaleX = copy->DeviceScaleY = o.scale;
        copy->Paint(canvas);
    }
}

// Draws with `paint` on a picture and/or a recording of width x height pixels
// and writes them as the options say.
void drawAndWrite(const RenderOptions& o, int width, int height, const std::function<void(Canvas&)>& paint)
{
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > 200LL * 1000 * 1000)
        throw CommandFailure(fmt::format("Cannot draw a page of {} x {} pixels", width, height));

    QImage image;
    QPainter painter;
    std::unique_ptr<PainterCanvas> pixels;
    if (!o.png.empty()) {
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull()) throw CommandFailure("Not enough memory for the picture");
        const int dotsPerMeter = static_cast<int>(std::lround(96.0 * o.scale / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(Qt::white);
        painter.begin(&image);
        // The designer draws at design pixels: a larger picture is the same drawing magnified.
        if (o.design && o.scale != 1.0) painter.scale(o.scale, o.scale);
        pixels = std::make_unique<PainterCanvas>(painter, 96, 96, Rect{0, 0, width, height});
    }
    std::unique_ptr<RecordingCanvas> recording;
    if (!o.record.empty()) recording = pixels ? std::make_unique<RecordingCanvas>(*pixels) : std::make_unique<RecordingCanvas>();
    Canvas& canvas = recording ? static_cast<Canvas&>(*recording) : *pixels;

    try {
        paint(canvas);
    } catch (const CLI::Error&) {
        throw;
    } catch (const CommandFailure&) {
        throw;
    } catch (const std::exception& ex) {
        throw CommandFailure(text::gbkToUtf8(ex.what()));
    }

    if (pixels) {
        painter.end();
        if (!image.save(QString::fromStdString(o.png), "PNG")) throw CommandFailure("Cannot write " + o.png);
    }
    if (recording) {
        std::ofstream out(o.record, std::ios::binary | std::ios::trunc);
        if (!out) throw CommandFailure("Cannot write " + o.record);
        out << recordJson(*recording, o.design ? o.scale : 1.0).dump(1) << '\n';
        if (!out) throw CommandFailure("Cannot write " + o.record);
    }
}

bool isPreparedReport(std::string_view file)
{
    return file.size() >= 4 && text::equalsNoCase(file.substr(file.size() - 4), ".frp");
}

// A page of a prepared report, drawn as the preview and the printer draw it.
void renderPrepared(const RenderOptions& o)
{
    if (o.design) throw CLI::ValidationError("--design", "a prepared report has no design view");
    if (!o.assignments.empty())
        throw CLI::ValidationError("NAME=VALUE", "the texts of a prepared report are already printed");
    ensureGuiSession();
    TfrReport rep;
    engine().CurrentReport = &rep;
    TfrEMFPages& pages = PreparedPages(rep);
    try {
        pages.LoadFromFile(gbkFileName(o.file));
    } catch (const PreparedReportError& e) {
        throw CommandFailure(e.what());
    }
    if (o.page < 1 || o.page > pages.Count())
        throw CommandFailure(fmt::format("There is no page {}: the prepared report has {} page(s)", o.page, pages.Count()));
    const int index = o.page - 1;
    const TfrPageMetrics& m = pages.Page(index).Paper.metrics;
    const int width = static_cast<int>(std::lround(m.PaperWidth * o.scale));
    const int height = static_cast<int>(std::lround(m.PaperHeight * o.scale));
    pages.Page(index).InUse = true;
    drawAndWrite(o, width, height, [&](Canvas& canvas) { pages.Draw(index, canvas, {0, 0, width, height}); });
}

void render(const RenderOptions& o)
{
    if (o.png.empty() && o.record.empty())
        throw CLI::ValidationError("render", "nothing to write: give --png OUT.png and/or --record OUT.json");
    if (!(o.scale > 0.0 && o.scale <= 16.0)) throw CLI::ValidationError("--scale", "the scale must be above 0 and at most 16");

    resetEngine();
    struct Cleanup {
        ~Cleanup() { resetEngine(); }   // before the application's fonts go
    } cleanup;
    if (isPreparedReport(o.file)) {
        renderPrepared(o);
        return;
    }
    TfrReport rep;
    loadTemplate(rep, o.file, std::nullopt);
    evaluatorFor(rep);
    setVariables(o.assignments);
    if (o.page < 1 || o.page > rep.Pages.Count())
        throw CommandFailure(fmt::format("There is no page {}: the template has {} page(s)", o.page, rep.Pages.Count()));
    TfrPage& page = rep.Pages[o.page - 1];

    const int width = static_cast<int>(std::lround(page.Paper.metrics.PaperWidth * o.scale));
    const int height = static_cast<int>(std::lround(page.Paper.metrics.PaperHeight * o.scale));
    drawAndWrite(o, width, height, [&](Canvas& canvas) { paintPage(page, canvas, o); });
}

Registration renderCommand{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("render", "Draw one page of a template as a picture or a list of drawing operations");
    auto o = std::make_shared<RenderOptions>();
    cmd->add_option("FILE", o->file, "the template file, or a prepared report (.frp)")->required();
    cmd->add_option("--page", o->page, "the page, from 1")->capture_default_str();
    cmd->add_option("--scale", o->scale, "pixels per design pixel")->capture_default_str();
    cmd->add_flag("--design", o->design, "as the designer shows it: texts as written, bands with their titles");
    cmd->add_option("--png", o->png, "write the page as a PNG picture (96 pixels per inch times the scale)");
    cmd->add_option("--record", o->record, "write the drawing operations as JSON");
    cmd->add_option("NAME=VALUE", o->assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->callback([o] { render(*o); });
}};

} // namespace
} // namespace pemvora::cli
