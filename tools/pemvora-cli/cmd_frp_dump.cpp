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

#include "tools/pemvora-cli/object_json.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;
using nlohmann::json;

json page(TfrEMFPages& pages, int index)
{
    pages.LoadPageObjects(index);
    const TfrPreparedPage& p = pages.Page(index);
    json objects = json::array();
    for (const auto& view : p.PageObjects->PageObjects) objects.push_back(objectJson(*view, ObjectJsonForm::Prepared));
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
