// pemvora-cli dump FILE [--password PW]: a report template (.frf), a new-report
// template (.frt, with its description and picture) or a dictionary file
// (.frd, the dictionary alone) as JSON.

#include "tools/pemvora-cli/template_session.h"

#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"

#include "tools/pemvora-cli/object_json.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;
using nlohmann::json;

std::string u(std::string_view gbk) { return text::gbkToUtf8(gbk); }

json pairs(const TfrVariables& list)
{
    json out = json::array();
    for (int i = 0; i < list.Count(); ++i) out.push_back({u(list.NameAt(i)), u(list.ValueAt(i).toText())});
    return out;
}

json page(const TfrPage& p)
{
    json objects = json::array();
    for (const auto& view : p.PageObjects) objects.push_back(objectJson(*view, ObjectJsonForm::Template));
    return {
        {"name", u(p.Name)},
        {"paperSize", p.Paper.size},
        {"paperWidth", p.Paper.width},
        {"paperHeight", p.Paper.height},
        {"orientation", p.Paper.orientation},
        {"bin", p.Paper.bin},
        {"margins", {p.Margins.Left, p.Margins.Top, p.Margins.Right, p.Margins.Bottom}},
        {"printToPrevPage", p.PrintToPrevPage},
        {"marginsInUse", p.MarginsInUse},
        {"columns", p.Columns},
        {"columnGap", p.ColumnGap},
        {"type", p.Type},
        {"borderStyle", p.BorderStyle},
        {"caption", u(p.Caption)},
        {"position", p.Position},
        {"script", linesJson(p.ScriptLines, ObjectJsonForm::Template)},
        {"objects", std::move(objects)},
    };
}

json dictionary(const TfrDataDictionary& d)
{
    return {{"variables", pairs(d.VarList)},
            {"fieldAliases", pairs(d.AliasList)},
            {"sourceAliases", pairs(d.SourceAliasList)}};
}

void print(const json& doc) { std::cout << doc.dump(2, ' ', false, json::error_handler_t::replace) << '\n'; }

void run(const std::string& file, const std::optional<std::string>& password)
{
    resetEngine();
    TfrReport report;
    const LoadedReportFile loaded = loadReportFile(report, file, password);
    if (loaded.form == ReportFileForm::Dictionary) {
        print({{"dictionary", dictionary(report.Dictionary)}});
        return;
    }
    if (report.PasswordRefused) throw CommandFailure("Wrong or missing password: " + file + " was not read");

    json pages = json::array();
    for (int i = 0; i < report.Pages.Count(); ++i) pages.push_back(page(report.Pages.Items(i)));
    const ReportInformation& info = report.Information;
    json doc{
        {"version", report.LoadedVersion},
        {"printToDefault", report.Printer.PrintToDefault},
        {"twoPass", report.TwoPass},
        {"printer", u(report.Printer.PrinterName)},
        {"pages", std::move(pages)},
        {"dictionary", dictionary(report.Dictionary)},
        {"info",
         {{"comment", u(info.Comment)},
          {"name", u(info.Name)},
          {"author", u(info.Author)},
          {"version", {u(info.VersionMajor), u(info.VersionMinor), u(info.VersionRelease), u(info.VersionBuild)}},
          {"passwordProtected", report.PasswordProtected}}},
    };
    if (loaded.form == ReportFileForm::NewReportTemplate) {
        const NewReportTemplateInfo& info = loaded.newReportTemplate;
        doc["description"] = linesJson(info.Description, ObjectJsonForm::Template);
        doc["previewBitmap"] = info.PreviewBitmap.empty() ? json(nullptr) : json(hexOf(info.PreviewBitmap));
    }
    print(doc);
}

struct Options {
    std::string file;
    std::optional<std::string> password;
};

static Registration reg{[](CLI::App& root) {
    auto options = std::make_shared<Options>();
    CLI::App* cmd = root.add_subcommand("dump", "Print a report template (.frf, .frt) or dictionary file (.frd) as JSON");
    cmd->add_option("FILE", options->file, "Template (.frf), new-report template (.frt) or dictionary file (.frd)")
        ->required()
        ->check(CLI::Validator(readableReportFile, "FILE"));
    cmd->add_option("--password", options->password, "Answer to the template's password question");
    cmd->callback([options] { run(options->file, options->password); });
}};

} // namespace
} // namespace pemvora::cli
