#include "report/model/report_files.h"

#include "platform/text/gbk.h"
#include "report/data/dictionary.h"
#include "report/model/binary_stream.h"
#include "report/model/engine_context.h"
#include "report/model/picture_codec.h"
#include "report/model/report.h"
#include "report/model/report_dictionary_host.h"
#include "report/model/template_codec.h"
#include "report/model/template_pages.h"

#include <QFile>
#include <QSaveFile>

#include <fmt/format.h>

#include <limits>

namespace pemvora::report {

namespace {

std::size_t extensionStart(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return fileName.size();
    return dot;
}

std::string displayName(const std::string& fileName) { return text::gbkToUtf8(fileName); }

// Runs `read`; whatever the bytes make it raise (a read past the end, a
// position outside the file, a record that makes no sense, a picture that
// does not decode) becomes a TemplateFormatError that names what was read.
template <class Read>
auto readingAs(std::string_view what, Read&& read)
{
    try {
        return read();
    } catch (const std::exception& e) {
        throw TemplateFormatError(fmt::format("The {} is damaged ({})", what, e.what()));
    }
}

// A file function's failure, with the file's name in front.
template <class Run>
auto naming(const std::string& fileName, Run&& run)
{
    try {
        return run();
    } catch (const TemplateFormatError& e) {
        throw TemplateFormatError(fmt::format("Cannot read \"{}\": {}", displayName(fileName), e.what()));
    }
}

} // namespace

std::optional<ReportFileForm> FileFormOf(std::string_view fileName)
{
    const std::string_view extension = fileName.substr(extensionStart(fileName));
    for (ReportFileForm form : {ReportFileForm::Template, ReportFileForm::XmlExport,
                                ReportFileForm::NewReportTemplate, ReportFileForm::Dictionary})
        if (text::equalsNoCase(extension, ExtensionOf(form))) return form;
    return std::nullopt;
}

std::string_view ExtensionOf(ReportFileForm form)
{
    switch (form) {
    case ReportFileForm::Template: return ".frf";
    case ReportFileForm::XmlExport: return ".fr3";
    case ReportFileForm::NewReportTemplate: return ".frt";
    case ReportFileForm::Dictionary: return ".frd";
    }
    return {};
}

std::string WithExtension(std::string_view fileName, std::string_view extension)
{
    return std::string(fileName.substr(0, extensionStart(fileName))) + std::string(extension);
}

void SaveBytesToFile(const std::string& fileName, std::string_view bytes)
{
    QSaveFile file(text::toQString(fileName));
    if (!file.open(QIODevice::WriteOnly))
        throw TemplateFileError(fmt::format("Cannot create file \"{}\": {}", displayName(fileName),
                                            file.errorString().toStdString()));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.commit())
        throw TemplateFileError(fmt::format("Cannot write file \"{}\": {}", displayName(fileName),
                                            file.errorString().toStdString()));
}

std::string LoadBytesFromFile(const std::string& fileName)
{
    QFile file(text::toQString(fileName));
    if (!file.exists()) throw TemplateFileError(fmt::format("File \"{}\" not found", displayName(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateFileError(fmt::format("Cannot open file \"{}\": {}", displayName(fileName),
                                            file.errorString().toStdString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TemplateFileError(fmt::format("Cannot read file \"{}\": {}", displayName(fileName),
                                            file.errorString().toStdString()));
    return bytes.toStdString();
}

// ---------------------------------------------------------------- the dictionary file

std::string SaveDictionaryToBytes(const TfrDataDictionary& dictionary)
{
    BinaryWriter out;
    TemplateWriter w(out);
    out.u8(kTemplateVersion);
    SaveDictionary(w, dictionary);
    return out.take();
}

void SaveDictionaryToFile(const TfrDataDictionary& dictionary, const std::string& fileName)
{
    SaveBytesToFile(fileName, SaveDictionaryToBytes(dictionary));
}

namespace {

// Reads a dictionary file into `into` (emptied first), with the report's
// data sets for the load-time clean-up.
void readDictionaryFile(const TfrReport& report, std::string_view bytes, TfrDataDictionary& into)
{
    readingAs("dictionary file", [&] {
        BinaryReader in(bytes);
        // The first byte is the version of the writer; the encodings follow it
        // for the versions we know, and are the current ones otherwise.
        const int stored = in.u8();
        const int version = stored >= kOldestTemplateVersion && stored <= kTemplateVersion ? stored : kTemplateVersion;
        TemplateReader r(in, version);
        LoadDictionary(r, into, ReportDictionaryHost(report));
        // The block is the whole file; more bytes mean this is not a
        // dictionary file, or a damaged one.
        if (!in.atEnd())
            throw TemplateFormatError(fmt::format("{} more bytes after the dictionary", in.remaining()));
    });
}

} // namespace

void LoadDictionaryFromBytes(TfrReport& report, std::string_view bytes)
{
    TfrDataDictionary loaded;
    readDictionaryFile(report, bytes, loaded);
    TfrDataDictionary& d = report.Dictionary;
    d.EmptyCache();
    d.VarList.Assign(loaded.VarList);
    d.AliasList.Assign(loaded.AliasList);
    d.SourceAliasList.Assign(loaded.SourceAliasList);
}

void LoadDictionaryFromFile(TfrReport& report, const std::string& fileName)
{
    const std::string bytes = LoadBytesFromFile(fileName);
    naming(fileName, [&] { LoadDictionaryFromBytes(report, bytes); });
}

void MergeDictionaryFromFile(TfrReport& report, const std::string& fileName)
{
    const std::string bytes = LoadBytesFromFile(fileName);
    TfrDataDictionary loaded;
    naming(fileName, [&] { readDictionaryFile(report, bytes, loaded); });
    MergeDictionary(report.Dictionary, loaded);
}

namespace {

bool isCategory(std::string_view name) { return !name.empty() && name[0] == ' '; }

// Where a new variable of `category` goes in `vars`: after the category's last
// variable; before the first category for variables of no category.
int endOfCategory(const TfrVariables& vars, const std::string& category)
{
    int i = 0;
    if (!category.empty()) {
        i = vars.IndexOf(category);
        if (i < 0) return vars.Count();
        ++i;
    }
    while (i < vars.Count() && !isCategory(vars.NameAt(i))) ++i;
    return i;
}

void mergeAliases(TfrVariables& into, const TfrVariables& from)
{
    for (int i = 0; i < from.Count(); ++i) into.SetVariable(from.NameAt(i), from.ValueAt(i));
}

} // namespace

void MergeDictionary(TfrDataDictionary& into, const TfrDataDictionary& from)
{
    TfrVariables& vars = into.VarList;
    std::string category;
    for (int i = 0; i < from.VarList.Count(); ++i) {
        const std::string name = from.VarList.NameAt(i);
        if (isCategory(name)) {
            category = name;
            if (!vars.Contains(name)) vars.SetVariable(name, from.VarList.ValueAt(i));
            continue;
        }
        const int at = vars.IndexOf(name);
        if (at >= 0) {
            vars.SetValueAt(at, from.VarList.ValueAt(i));
        } else {
            vars.InsertAt(endOfCategory(vars, category), name);
            vars.SetValueAt(vars.IndexOf(name), from.VarList.ValueAt(i));
        }
    }
    mergeAliases(into.AliasList, from.AliasList);
    mergeAliases(into.SourceAliasList, from.SourceAliasList);
    into.EmptyCache();
}

// ---------------------------------------------------------------- the new-report template file

namespace {

constexpr std::uint8_t kWithPicture = 1;

struct NewReportTemplateHead {
    NewReportTemplateInfo Info;
    std::size_t PagesAt = 0;
};

NewReportTemplateHead readHead(BinaryReader& in)
{
    TemplateReader r(in, kTemplateVersion);
    NewReportTemplateHead head;
    head.Info.Description = r.ReadStringList();
    const std::uint32_t pagesAt = in.u32();
    const bool withPicture = in.u8() == kWithPicture;
    if (pagesAt < in.position() || pagesAt > in.size())
        throw TemplateFormatError("The pages do not start within the file");
    head.PagesAt = pagesAt;
    if (withPicture) head.Info.PreviewBitmap = std::string(in.bytes(pagesAt - in.position()));
    return head;
}

void checkBitmap(std::string_view bitmap)
{
    if (!bitmap.empty()) decodeGraphic(GraphicKind::Bitmap, bitmap);
}

} // namespace

std::string SaveNewReportTemplateToBytes(const TfrReport& report, const NewReportTemplateInfo& info)
{
    try {
        checkBitmap(info.PreviewBitmap);
    } catch (const GraphicError& e) {
        throw TemplateSaveError(fmt::format("Cannot save the template: its picture is not a bitmap ({})", e.what()));
    }
    BinaryWriter out;
    TemplateWriter w(out);
    w.WriteStringList(info.Description, "description");
    const std::size_t pagesAt = out.reserveU32();
    out.u8(info.PreviewBitmap.empty() ? 0 : kWithPicture);
    out.bytes(info.PreviewBitmap);
    if (out.position() > std::numeric_limits<std::uint32_t>::max())
        throw TemplateSaveError("Cannot save the template: its picture is too large");
    out.patchHere(pagesAt);
    WritePagesSection(w, report);
    return out.take();
}

void SaveNewReportTemplateToFile(const TfrReport& report, const NewReportTemplateInfo& info,
                                 const std::string& fileName)
{
    SaveBytesToFile(fileName, SaveNewReportTemplateToBytes(report, info));
}

NewReportTemplateInfo ReadNewReportTemplateInfo(std::string_view bytes)
{
    return readingAs("new-report template", [&] {
        BinaryReader in(bytes);
        NewReportTemplateInfo info = readHead(in).Info;
        checkBitmap(info.PreviewBitmap);
        return info;
    });
}

NewReportTemplateInfo ReadNewReportTemplateInfoFromFile(const std::string& fileName)
{
    const std::string bytes = LoadBytesFromFile(fileName);
    return naming(fileName, [&] { return ReadNewReportTemplateInfo(bytes); });
}

NewReportTemplateInfo LoadNewReportTemplate(TfrReport& report, std::string_view bytes)
{
    EngineContext& e = engine();
    e.Running = 0;
    e.CurrentReport = &report;
    e.MissingClasses.clear();
    report.Clear();
    report.Dictionary.Clear();
    report.Dictionary.EmptyCache();
    report.TemplateFileName = "Untitled";
    report.PasswordRefused = false;
    report.LoadFailed = true;
    report.LoadedVersion = 0;
    auto leaveEmpty = [&] {
        report.Clear();
        report.Dictionary.Clear();
        report.Pages.Add();
    };
    NewReportTemplateInfo info;
    try {
        info = readingAs("new-report template", [&] {
            BinaryReader in(bytes);
            NewReportTemplateHead head = readHead(in);
            in.seek(head.PagesAt);
            TemplateReader r(in, kTemplateVersion);
            ReadPagesSection(r, report, PagesSectionEnd::EndOfStream);
            return std::move(head.Info);
        });
    } catch (...) {
        leaveEmpty();
        throw;
    }
    if (!e.MissingClasses.empty()) {
        const std::string message = MissingClassesMessage(e.MissingClasses);
        leaveEmpty();
        throw TemplateFormatError(message);
    }
    NotifyReportLoaded(report);
    report.LoadFailed = false;
    report.LoadedVersion = kTemplateVersion;
    return info;
}

NewReportTemplateInfo LoadNewReportTemplateFromFile(TfrReport& report, const std::string& fileName)
{
    const std::string bytes = LoadBytesFromFile(fileName);
    return naming(fileName, [&] { return LoadNewReportTemplate(report, bytes); });
}

} // namespace pemvora::report
