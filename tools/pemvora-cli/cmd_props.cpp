// pemvora-cli props KIND: the registered properties of a new object of a kind,
// one a line: name, type bits in hexadecimal, current value.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include <fmt/format.h>

#include <iostream>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

std::string valueText(const TfrPropRec& rec, const Value& v)
{
    if (v.isNull()) return "Null";
    if (v.isEmpty()) return "";
    if (v.isBoolean()) return v.boolean() ? "True" : "False";
    if ((rec.TypeBits & prop::Color) && v.isInteger())
        return fmt::format("0x{:08X}", static_cast<std::uint32_t>(v.integer()));
    if (v.isDouble()) return formatNumber(v.dbl());
    std::string out = text::gbkToUtf8(v.toText());
    if ((rec.TypeBits & prop::Enumeration) && !rec.EnumValues.empty()) {
        for (std::size_t i = 0; i < rec.EnumValues.size() && i < rec.EnumNames.size(); ++i)
            if (rec.EnumValues[i] == v) out += " (" + rec.EnumNames[i] + ")";
    }
    return out;
}

void printProperties(TfrObject& object)
{
    object.EnsureProperties();
    for (const TfrPropRec& rec : object.Properties()) {
        const Value v = object.GetProperty(rec.Name);
        std::cout << fmt::format("{:<24} 0x{:03X} {}\n", text::gbkToUtf8(rec.Name), rec.TypeBits, valueText(rec, v));
    }
}

void run(const std::string& kindText)
{
    ensureGuiSession();   // pages take their paper from the printer
    resetEngine();
    TfrReport report;
    engine().CurrentReport = &report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    engine().CurrentPage = &page;

    if (kindText == "page") {
        printProperties(page);
        return;
    }
    std::unique_ptr<TfrView> view;
    if (kindText == "text") view = CreateObject(kind::Memo);
    else if (kindText == "picture") view = CreateObject(kind::Picture);
    else if (kindText == "line") view = CreateObject(kind::Line);
    else if (kindText == "subreport") view = CreateObject(kind::SubReport);
    else if (kindText.rfind("band:", 0) == 0) {
        const std::optional<std::int64_t> n = parseInteger(kindText.substr(5));
        if (!n || *n < 0 || *n >= bandkind::Count)
            throw CLI::ValidationError("KIND", fmt::format("band kind must be 0 to {}: {}", bandkind::Count - 1, kindText));
        auto band = std::make_unique<TfrBandView>();
        band->SetBandKind(static_cast<int>(*n));
        view = std::move(band);
    } else {
        throw CLI::ValidationError("KIND", "unknown kind " + kindText + " (text, picture, line, subreport, page, band:N)");
    }
    TfrView& placed = page.Add(std::move(view));
    placed.CreateUniqueName();
    printProperties(placed);
}

Registration reg{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("props", "List the registered properties of a new report object");
    auto kindText = std::make_shared<std::string>();
    cmd->add_option("KIND", *kindText, "text, picture, line, subreport, page or band:N (N = 0..22)")->required();
    cmd->callback([kindText] { run(*kindText); });
}};

} // namespace
} // namespace pemvora::cli
