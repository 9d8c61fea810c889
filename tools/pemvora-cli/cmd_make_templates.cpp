// pemvora-cli make-templates DIR [--force] [--layout FILE]: writes the fifteen
// cheque templates on the reference cheque form into DIR.
//
// A template that exists is kept unless --force: operators move fields to fit
// their printer and must not lose that. --layout reads another description in
// the form of app/templates/cheque-form.json instead of the built-in one.

#include "app/templates/chequeform.h"
#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "report/model/engine_context.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

namespace pemvora::cli {
namespace {

namespace fs = std::filesystem;
using namespace pemvora::app::templates;

struct Options {
    std::string folder;
    bool force = false;
    std::string layout;
};

ChequeFormDescription description(const std::string& layoutFile)
{
    if (layoutFile.empty()) return referenceDescription();
    std::ifstream in(layoutFile, std::ios::binary);
    if (!in) throw CommandFailure("Cannot read " + layoutFile);
    // A description is a few kilobytes; anything far larger is not one.
    constexpr std::size_t kMaxDescriptionBytes = 1 << 20;
    std::string json;
    json.resize(kMaxDescriptionBytes + 1);
    in.read(json.data(), static_cast<std::streamsize>(json.size()));
    json.resize(static_cast<std::size_t>(in.gcount()));
    if (json.size() > kMaxDescriptionBytes) throw CommandFailure(layoutFile + " is too large for a description");
    try {
        return parseDescription(json);
    } catch (const DescriptionError& e) {
        throw CommandFailure(layoutFile + ": " + e.what());
    }
}

void run(const Options& o)
{
    const ChequeFormDescription layout = description(o.layout);
    std::error_code ec;
    fs::create_directories(o.folder, ec);
    if (!fs::is_directory(o.folder, ec)) throw CommandFailure("Cannot make the folder " + o.folder);

    // Pages take their paper through the engine's printer.
    ensureGuiSession();
    report::resetEngine();
    struct Cleanup {
        ~Cleanup() { report::resetEngine(); }
    } cleanup;
    std::vector<MadeTemplate> made;
    try {
        made = makeTemplates(layout, o.folder, o.force);
    } catch (const TemplateWriteError& e) {
        throw CommandFailure(e.what());
    }
    for (const MadeTemplate& m : made) {
        const std::string path = (fs::path(o.folder) / m.fileName).string();
        if (m.written) std::cout << "wrote " << path << '\n';
        else std::cout << "kept " << path << " (it exists; --force replaces it)\n";
    }
}

Registration reg{[](CLI::App& root) {
    auto options = std::make_shared<Options>();
    CLI::App* cmd = root.add_subcommand("make-templates",
                                        "Write the fifteen cheque templates on the reference cheque form");
    cmd->add_option("DIR", options->folder, "folder to write carry.frf ... cash4.frf into")->required();
    cmd->add_flag("--force", options->force, "replace templates that exist");
    cmd->add_option("--layout", options->layout, "a description to use instead of the built-in one (JSON)");
    cmd->callback([options] { run(*options); });
}};

} // namespace
} // namespace pemvora::cli
