// New, open, save and save as, and the questions before a template is
// dropped. A template that was not read whole is never written over the file
// it came from: Save asks for another name.

#include "report/designer/designer_document.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/model/engine_context.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"
#include "report/model/xml_export.h"

#include <QFileInfo>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

constexpr std::string_view kUntitled = "Untitled";

std::string withoutFolder(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

bool sameFile(const std::string& a, const std::string& b)
{
    const QFileInfo fa(text::toQString(a)), fb(text::toQString(b));
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

std::string withTemplateExtension(std::string name)
{
    const std::string base = withoutFolder(name);
    if (base.find('.') == std::string::npos) name += ".frf";
    return name;
}

std::string inFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    const char last = folder.back();
    return folder + (last == '/' || last == '\\' ? "" : "/") + name;
}

void showError(const std::string& utf8) { ui::services().message(utf8, "Error", ui::Icon::Error); }

} // namespace

bool DesignerDocument::confirmDiscard()
{
    if (!modified_) return true;
    const std::string text = "Save changes to " + text::gbkToUtf8(withoutFolder(documentName_)) + "?";
    switch (ui::services().question(text, "Confirm", ui::Buttons::YesNoCancel)) {
    case ui::Answer::Yes: return save();
    case ui::Answer::No: return true;
    default: return false;
    }
}

bool DesignerDocument::newReport()
{
    if (!confirmDiscard()) return false;
    report_.Clear();
    report_.Dictionary.Clear();
    report_.Pages.Add();
    report_.TemplateFileName = std::string(kUntitled);
    report_.LoadFailed = false;
    unreadableSource_.clear();
    resetForNewTemplate();
    changed(true);
    return true;
}

bool DesignerDocument::open()
{
    if (!confirmDiscard()) return false;
    std::string fileName;
    if (hooks_.OnLoadReport) {
        if (!hooks_.OnLoadReport(report_, fileName)) return false;
    } else {
        if (!dialogs_) return false;
        std::optional<std::string> chosen = dialogs_->openFileName(hooks_.OpenDir);
        if (!chosen) return false;
        fileName = std::move(*chosen);
    }
    return openFile(fileName);
}

bool DesignerDocument::openFile(const std::string& fileName)
{
    engine().CurrentReport = &report_;
    if (FileFormOf(fileName) == ReportFileForm::Dictionary) {
        // A dictionary file joins the report's dictionary; the document stays.
        try {
            MergeDictionaryFromFile(report_, fileName);
        } catch (const std::exception& failure) {
            showError(failure.what());
            return false;
        }
        setModified(true);
        return true;
    }
    bool found = false;
    try {
        found = report_.LoadFromFile(fileName);
    } catch (const std::exception& failure) {
        showError(failure.what());
        return false;
    }
    if (!found) {
        showError(fmt::format("File \"{}\" not found", text::gbkToUtf8(fileName)));
        return false;
    }
    if (report_.Pages.Count() == 0) report_.Pages.Add();
    unreadableSource_ = report_.LoadFailed ? fileName : std::string();
    resetForNewTemplate();
    changed(true);
    return true;
}

bool DesignerDocument::writeTo(const std::string& fileName, bool saveAs)
{
    engine().CurrentReport = &report_;
    if (hooks_.OnSaveReport) {
        if (!hooks_.OnSaveReport(report_, fileName, saveAs)) return false;
    } else {
        try {
            report_.SaveToFile(fileName);
        } catch (const std::exception& failure) {
            showError(failure.what());
            return false;
        }
    }
    documentName_ = fileName;
    report_.TemplateFileName = fileName;
    // The file now holds this template whole.
    report_.LoadFailed = false;
    loadFailed_ = false;
    unreadableSource_.clear();
    modified_ = false;
    savedThisSession_ = true;
    for (DocumentObserver* o : observers_) o->documentChanged();
    return true;
}

bool DesignerDocument::save()
{
    if (documentName_ == kUntitled || loadFailed_) return saveAs();
    return writeTo(documentName_, false);
}

bool DesignerDocument::saveAs()
{
    if (hooks_.OnSaveReport) return writeTo(documentName_, true);
    if (!dialogs_) return false;
    const std::string source = !unreadableSource_.empty() ? unreadableSource_
        : (loadFailed_ && documentName_ != kUntitled ? documentName_ : std::string());
    // A person answers the dialog; the bound only keeps a dialog that always
    // gives the refused name from asking for ever.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const std::string proposed = documentName_ == kUntitled ? std::string() : documentName_;
        std::optional<std::string> chosen = dialogs_->saveFileName(hooks_.SaveDir, proposed);
        if (!chosen) return false;
        const std::string fileName = withTemplateExtension(std::move(*chosen));
        const ReportFileForm form = FileFormOf(fileName).value_or(ReportFileForm::Template);
        if (form != ReportFileForm::Template) return exportAs(fileName, form);
        if (!source.empty() && sameFile(fileName, source)) {
            ui::services().message(
                fmt::format("The template was not read whole from \"{}\". Choose another file name: that file "
                            "is left as it is.",
                            text::gbkToUtf8(withoutFolder(source))),
                "Save as", ui::Icon::Warning);
            continue;
        }
        return writeTo(fileName, true);
    }
    return false;
}

bool DesignerDocument::exportAs(const std::string& fileName, ReportFileForm form)
{
    // The other forms are copies: the document keeps its name and its
    // modified flag.
    engine().CurrentReport = &report_;
    try {
        switch (form) {
        case ReportFileForm::XmlExport: SaveXmlExportToFile(report_, fileName); break;
        case ReportFileForm::Dictionary: SaveDictionaryToFile(report_.Dictionary, fileName); break;
        case ReportFileForm::NewReportTemplate: {
            std::optional<std::string> description =
                ui::services().input("New template", "Description of the template:", std::string());
            if (!description) return false;
            NewReportTemplateInfo info;
            std::string gbk;
            if (!text::tryUtf8ToGbk(*description, gbk)) {
                showError("The description holds characters GBK cannot hold");
                return false;
            }
            if (!gbk.empty()) info.Description = {gbk};
            // Templates of new reports are kept together in the template folder.
            const std::string target = hooks_.TemplateDir.empty() ? fileName
                                                                  : inFolder(hooks_.TemplateDir, withoutFolder(fileName));
            SaveNewReportTemplateToFile(report_, info, target);
            break;
        }
        case ReportFileForm::Template: return writeTo(fileName, true);
        }
    } catch (const std::exception& failure) {
        showError(failure.what());
        return false;
    }
    return true;
}

bool DesignerDocument::mayClose(ModalResult& result)
{
    result = savedThisSession_ ? ModalResult::Ok : ModalResult::Cancel;
    if (!modified_ || !hooks_.CloseQuery) return true;
    const std::string text = "Save changes to " + text::gbkToUtf8(withoutFolder(documentName_)) + "?";
    switch (ui::services().question(text, "Confirm", ui::Buttons::YesNoCancel)) {
    case ui::Answer::Yes:
        if (!save()) return false;
        result = ModalResult::Ok;
        return true;
    case ui::Answer::No: result = ModalResult::Cancel; return true;
    default: return false;
    }
}

} // namespace pemvora::report
