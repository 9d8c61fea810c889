#pragma once
// What dump and resave share: loading a template, a new-report template or a
// dictionary file from the command line, with the loader's messages collected
// instead of shown and the password question answered from --password.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"

#include <optional>
#include <string>
#include <vector>

namespace pemvora::cli {

class CollectingUi : public ui::UiServices {
public:
    std::optional<std::string> answer;           // the password to give, if any
    std::vector<std::string> messages;

    ui::Answer message(const std::string& text, const std::string&, ui::Icon, ui::Buttons) override
    {
        messages.push_back(text);
        return ui::Answer::Ok;
    }
    void error(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> password(const std::string&, const std::string&) override { return answer; }
};

// The loader's line breaks are carriage returns; a terminal wants line feeds.
inline std::string forTerminal(std::string text)
{
    for (char& c : text)
        if (c == '\r') c = '\n';
    return text;
}

inline std::string gbkFileName(const std::string& utf8)
{
    std::string gbk;
    if (!text::tryUtf8ToGbk(utf8, gbk)) throw CommandFailure("The file name cannot be held in GBK: " + utf8);
    return gbk;
}

// Loads `file` into `report`; a missing file or one of the loader's messages
// fails the command (exit 1) with that message on stderr.
inline void loadTemplate(report::TfrReport& report, const std::string& file, const std::optional<std::string>& password)
{
    ensureGuiSession();
    CollectingUi collecting;
    collecting.answer = password;
    ui::installServices(&collecting);
    struct Uninstall {
        ~Uninstall() { ui::installServices(nullptr); }
    } uninstall;
    report::engine().CurrentReport = &report;
    bool found = false;
    try {
        found = report.LoadFromFile(gbkFileName(file));
    } catch (const report::TemplateFileError& e) {
        throw CommandFailure(e.what());
    }
    if (!found) throw CommandFailure("File not found: " + file);
    if (!collecting.messages.empty()) throw CommandFailure(forTerminal(collecting.messages.front()));
}

// The forms a command reads; the XML export is written only.
inline std::string readableReportFile(const std::string& file)
{
    if (report::FileFormOf(file) == report::ReportFileForm::XmlExport)
        return "An XML export (.fr3) cannot be read; give a .frf, .frt or .frd file";
    return {};
}

// What a command read.
struct LoadedReportFile {
    report::ReportFileForm form = report::ReportFileForm::Template;
    report::NewReportTemplateInfo newReportTemplate;   // a .frt file's description and picture
};

// Loads `file` by its extension: a new-report template (.frt), a dictionary
// file (.frd, into the report's dictionary) or else a template. A missing or
// damaged file fails the command with its message.
inline LoadedReportFile loadReportFile(report::TfrReport& report, const std::string& file,
                                       const std::optional<std::string>& password)
{
    LoadedReportFile loaded;
    loaded.form = report::FileFormOf(file).value_or(report::ReportFileForm::Template);
    if (loaded.form == report::ReportFileForm::Template) {
        loadTemplate(report, file, password);
        return loaded;
    }
    ensureGuiSession();
    report::engine().CurrentReport = &report;
    try {
        if (loaded.form == report::ReportFileForm::NewReportTemplate)
            loaded.newReportTemplate = report::LoadNewReportTemplateFromFile(report, gbkFileName(file));
        else
            report::LoadDictionaryFromFile(report, gbkFileName(file));
    } catch (const report::TemplateFormatError& e) {
        throw CommandFailure(forTerminal(e.what()));
    } catch (const report::TemplateFileError& e) {
        throw CommandFailure(e.what());
    }
    return loaded;
}

} // namespace pemvora::cli
