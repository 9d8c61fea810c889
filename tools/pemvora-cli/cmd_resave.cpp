// pemvora-cli resave IN OUT: loads a template (.frf), new-report template (.frt)
// or dictionary file (.frd) and writes it in the form OUT's extension names: a
// template (.frf, version 25), a new-report template (.frt), the XML export
// (.fr3) or the dictionary alone (.frd).

#include "tools/pemvora-cli/template_session.h"

#include "report/model/report_files.h"
#include "report/model/template_codec.h"
#include "report/model/xml_export.h"

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

void run(const std::string& in, const std::string& out, const std::optional<std::string>& password)
{
    resetEngine();
    TfrReport report;
    const LoadedReportFile loaded = loadReportFile(report, in, password);
    if (report.PasswordRefused) throw CommandFailure("Wrong or missing password: " + in + " was not read");
    const std::string target = gbkFileName(out);
    try {
        switch (*FileFormOf(out)) {
        case ReportFileForm::Template: report.SaveToFile(target); break;
        case ReportFileForm::XmlExport: SaveXmlExportToFile(report, target); break;
        case ReportFileForm::NewReportTemplate:
            // A new-report template keeps its description and picture.
            SaveNewReportTemplateToFile(report, loaded.newReportTemplate, target);
            break;
        case ReportFileForm::Dictionary: SaveDictionaryToFile(report.Dictionary, target); break;
        }
    } catch (const TemplateSaveError& e) {
        throw CommandFailure(e.what());
    } catch (const TemplateFileError& e) {
        throw CommandFailure(e.what());
    }
}

struct Options {
    std::string in, out;
    std::optional<std::string> password;
};

static Registration reg{[](CLI::App& root) {
    auto options = std::make_shared<Options>();
    CLI::App* cmd = root.add_subcommand(
        "resave", "Load a report file (.frf, .frt or .frd) and save it in the form OUT's extension names: "
                  ".frf template, .frt new-report template, .fr3 XML export, .frd dictionary");
    cmd->add_option("IN", options->in, "File to read (.frf, .frt or .frd)")
        ->required()
        ->check(CLI::Validator(readableReportFile, "FILE"));
    cmd->add_option("OUT", options->out, "File to write (.frf, .frt, .fr3 or .frd)")
        ->required()
        ->check(CLI::Validator(
            [](const std::string& out) -> std::string {
                if (FileFormOf(out)) return {};
                return "OUT must end in .frf, .frt, .fr3 or .frd";
            },
            "FILE"));
    cmd->add_option("--password", options->password, "Answer to the template's password question");
    cmd->callback([options] { run(options->in, options->out, options->password); });
}};

} // namespace
} // namespace pemvora::cli
