// pemvora-cli resave IN OUT: loads a template and writes it again as version 25.

#include "tools/pemvora-cli/template_session.h"

#include "report/model/template_codec.h"

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

void run(const std::string& in, const std::string& out, const std::optional<std::string>& password)
{
    resetEngine();
    TfrReport report;
    loadTemplate(report, in, password);
    if (report.PasswordRefused) throw CommandFailure("Wrong or missing password: " + in + " was not read");
    try {
        report.SaveToFile(gbkFileName(out));
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
    CLI::App* cmd = root.add_subcommand("resave", "Load a report template and save it again as version 25");
    cmd->add_option("IN", options->in, "Template file to read")->required();
    cmd->add_option("OUT", options->out, "File to write")->required();
    cmd->add_option("--password", options->password, "Answer to the template's password question");
    cmd->callback([options] { run(options->in, options->out, options->password); });
}};

} // namespace
} // namespace pemvora::cli
