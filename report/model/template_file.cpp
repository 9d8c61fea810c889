// The template file of a report: TfrReport::SaveToStream / LoadFromStream /
// SaveToFile / LoadFromFile. The bytes of each record are in template_codec.cpp.

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/printer/printer.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/report_dictionary_host.h"
#include "report/model/report_files.h"
#include "report/model/template_codec.h"
#include "report/model/template_pages.h"
#include "report/model/unique_names.h"
#include "report/model/xml_export.h"

#include <QDateTime>
#include <QFile>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

constexpr std::uint8_t kTagObjectLast = 10;
constexpr std::uint8_t kTagEndOfPages = 0xFC;
constexpr std::uint8_t kTagExtension = 0xFD;
constexpr std::uint8_t kTagDictionary = 0xFE;
constexpr std::uint8_t kTagPage = 0xFF;
constexpr std::size_t kMaxPages = 256;

DateTime currentDateTime()
{
    const QDateTime t = QDateTime::currentDateTime();
    return encodeDateTime({t.date().year(), t.date().month(), t.date().day()},
                          {t.time().hour(), t.time().minute(), t.time().second(), t.time().msec()});
}

void showError(const std::string& utf8)
{
    ui::services().message(utf8, "Error", ui::Icon::Error);
}

bool equalsClass(std::string_view name, std::string_view wanted) { return text::equalsNoCase(name, wanted); }

// One object entry, its kind byte already read. Unknown classes and failing
// records of version 24 and later are skipped by the entry's end position.
void readObjectEntry(TemplateReader& r, TfrReport& report, std::uint8_t kindCode)
{
    BinaryReader& in = r.in;
    std::string className;
    bool framedMemo = false;
    if (kindCode == kind::PlugIn) {
        className = r.ReadString();
        if (equalsClass(className, "TFRBDELOOKUPCONTROL") || equalsClass(className, "TFRIBXLOOKUPCONTROL"))
            className = "TfrDBLookupControl";
        if (equalsClass(className, "TFRFRAMEDMEMOVIEW")) {
            framedMemo = true;
            kindCode = kind::Memo;
        }
    }
    const std::uint8_t pageIndex = in.u8();
    // From version 24 on each entry says where it ends. The record is read
    // within those bounds, so a damaged record cannot run into the next one,
    // and a failing record is skipped. A stored 0 means "no end".
    std::size_t end = 0;
    bool endRead = false;
    auto readEnd = [&] {
        const std::uint32_t stored = in.u32();
        endRead = true;
        // An end must lie ahead within the stream, or the reader could go
        // round in circles.
        if (stored != 0 && (stored > in.size() || stored < in.position()))
            throw TemplateFormatError("Object entry ends outside the stream");
        end = stored;
    };
    try {
        if (pageIndex >= report.Pages.Count()) throw TemplateFormatError("Object of a page that does not exist");
        TfrPage& page = report.Pages.Items(pageIndex);
        engine().CurrentPage = &page;
        std::unique_ptr<TfrView> created = CreateObject(kindCode, className);
        if (!created) throw TemplateFormatError("Unknown object kind");
        TfrView& view = page.Add(std::move(created));
        if (r.version > 23) readEnd();
        if (end != 0) {
            BinaryReader bounded = in.endingAt(end);
            TemplateReader record(bounded, r.version);
            record.objectNames = r.objectNames;
            LoadObjectRecord(record, view);
            if (framedMemo) bounded.bytes(8);
            in.seek(end);
        } else {
            LoadObjectRecord(r, view);
            if (framedMemo) in.bytes(8);
        }
    } catch (const std::exception& failure) {
        if (r.version < 24) {
            // No end to go to: the reader goes on with the next tag, unless
            // the stream itself has ended.
            if (dynamic_cast<const StreamError*>(&failure)) throw;
            return;
        }
        if (!endRead) readEnd();
        if (end == 0) throw TemplateFormatError("A damaged object entry without an end");
        in.seek(end);
    }
}

} // namespace

void ReadPagesSection(TemplateReader& r, TfrReport& report, PagesSectionEnd sectionEnd)
{
    BinaryReader& in = r.in;
    report.Printer.PrintToDefault = in.bool16();
    report.TwoPass = in.bool16();
    const std::string printer = r.ReadString();
    // The named printer is selected unless PrintToDefault; the name is kept.
    report.SelectPrinterByName(printer.empty() ? kVirtualPrinterName : std::string_view(printer));

    // Records of old versions carry no names: pages and objects are named as
    // they are read, each name the next free one.
    UniqueNames pageNames;
    UniqueNames objectNames;
    TemplateReader records(in, r.version);
    records.objectNames = &objectNames;
    for (;;) {
        // A template ends its pages with the end tag, so a stream that stops
        // before it has been cut short; a new-report template's pages run to
        // the end of its file.
        if (sectionEnd == PagesSectionEnd::EndOfStream && in.atEnd()) break;
        const std::uint8_t tag = in.u8();
        if (tag == kTagEndOfPages) break;
        if (tag == kTagPage) {
            // From version 24 on the record names its page.
            TfrPage& page = report.Pages.Items(report.Pages.AddNamed(r.version < 24 ? pageNames.Next("Page") : ""));
            LoadPageRecord(records, page);
            pageNames.Take(page.Name);
        } else if (tag == kTagDictionary) {
            LoadDictionary(records, report.Dictionary, ReportDictionaryHost(report));
        } else if (tag == kTagExtension) {
            // The data manager's block; no such component exists here.
            in.u8();
            break;
        } else if (tag <= kTagObjectLast) {
            readObjectEntry(records, report, tag);
        } else {
            throw TemplateFormatError("Unknown tag in the pages section");
        }
    }
}

void WritePagesSection(TemplateWriter& w, const TfrReport& report)
{
    const TfrPages& pages = report.Pages;
    // An object names its page in one byte: pages beyond the 256th may be
    // stored, but not with objects on them.
    for (int i = static_cast<int>(kMaxPages); i < pages.Count(); ++i)
        if (pages.Items(i).ObjectCount() > 0)
            throw TemplateSaveError(fmt::format("Cannot save the template: page {} has objects; objects can only "
                                                "be stored on the first {} pages",
                                                i + 1, kMaxPages));
    BinaryWriter& out = w.out;
    out.bool16(report.Printer.PrintToDefault);
    out.bool16(report.TwoPass);
    const std::string& printer = report.Printer.PrinterName;
    w.WriteString(printer == kVirtualPrinterName ? std::string_view() : std::string_view(printer), "printer name");
    for (int i = 0; i < pages.Count(); ++i) {
        out.u8(kTagPage);
        SavePageRecord(w, pages.Items(i));
    }
    for (int i = 0; i < pages.Count(); ++i) {
        for (const auto& view : pages.Items(i).PageObjects) {
            out.u8(view->ObjectKind);
            if (view->ObjectKind == kind::PlugIn) w.WriteString(view->ClassName(), "class name");
            out.u8(static_cast<std::uint8_t>(i));
            const std::size_t end = out.reserveU32();
            SaveObjectRecord(w, *view);
            out.patchHere(end);
        }
    }
    out.u8(kTagDictionary);
    SaveDictionary(w, report.Dictionary);
}

std::string MissingClassesMessage(const std::vector<std::string>& classNames)
{
    std::string text = "Report contains the following non-plugged components:\r";
    for (const std::string& name : classNames) text += text::gbkToUtf8(name) + "\r";
    text += "You must include these components into your project.";
    return text;
}

void NotifyReportLoaded(TfrReport& report)
{
    for (int i = 0; i < report.Pages.Count(); ++i)
        for (const auto& view : report.Pages.Items(i).PageObjects) view->AfterReportLoaded();
}

namespace {

void readTrailer(TemplateReader& r, TfrReport& report)
{
    BinaryReader& in = r.in;
    ReportInformation& info = report.Information;
    info.Comment = r.ReadTrailerString();
    info.Name = r.ReadTrailerString();
    info.Author = r.ReadTrailerString();
    info.VersionMajor = r.ReadTrailerString();
    info.VersionMinor = r.ReadTrailerString();
    info.VersionRelease = r.ReadTrailerString();
    info.VersionBuild = r.ReadTrailerString();
    report.ReportPassword = passwordFromHex(r.ReadTrailerString());
    report.GeneratorVersion = in.u8();
    report.PasswordProtected = in.u8() != 0;
    report.Created = DateTime{in.f64()};
    report.Modified = DateTime{in.f64()};
}

void resetInformation(TfrReport& report)
{
    report.Information = {};
    report.Created = currentDateTime();
    report.Modified = report.Created;
    report.PasswordProtected = false;
    report.ReportPassword.clear();
    report.GeneratorVersion = 88;
}

void emptyReport(TfrReport& report)
{
    report.Pages.Clear();
    report.Pages.Add();
}

} // namespace

// ---------------------------------------------------------------- writing

void TfrReport::SaveToStream(BinaryWriter& out)
{
    engine().CurrentReport = this;
    if (XmlExport) {
        out.bytes(ExportXml(*this));
        return;
    }
    // Everything is written into memory first: a template that cannot be
    // stored leaves `out` as it was.
    BinaryWriter buffer;
    TemplateWriter w(buffer);
    buffer.u8(kTemplateVersion);
    WritePagesSection(w, *this);
    buffer.u8(kTagEndOfPages);

    const DateTime modified = currentDateTime();
    w.WriteTrailerString(Information.Comment, "report comment");
    w.WriteTrailerString(Information.Name, "report name");
    w.WriteTrailerString(Information.Author, "report author");
    w.WriteTrailerString(Information.VersionMajor, "version");
    w.WriteTrailerString(Information.VersionMinor, "version");
    w.WriteTrailerString(Information.VersionRelease, "version");
    w.WriteTrailerString(Information.VersionBuild, "version");
    w.WriteTrailerString(passwordToHex(ReportPassword), "password");
    buffer.u8(88);
    buffer.u8(PasswordProtected ? 1 : 0);
    buffer.f64(Created.days);
    buffer.f64(modified.days);

    out.bytes(buffer.data());
    Modified = modified;
    GeneratorVersion = 88;
}

std::string TfrReport::SaveToBytes()
{
    BinaryWriter out;
    SaveToStream(out);
    return out.take();
}

void TfrReport::SaveToFile(const std::string& fileName)
{
    SaveBytesToFile(fileName, SaveToBytes());
}

// ---------------------------------------------------------------- reading

void TfrReport::LoadFromStream(BinaryReader& in, TemplateOrigin origin)
{
    EngineContext& e = engine();
    e.Running = 0;
    e.CurrentReport = this;
    PasswordRefused = false;
    LoadedVersion = 0;
    if (in.remaining() == 0) {
        Dictionary.Clear();
        LoadFailed = false;
        return;
    }
    const std::size_t start = in.position();
    int version = in.u8();
    if (version <= 20) {
        in.seek(start);
        version = kOldestTemplateVersion;
    }
    e.MissingClasses.clear();
    if (version > kTemplateVersion) {
        // Nothing of the report changes; the flag keeps a later save from
        // writing this report over the file that could not be read.
        LoadFailed = true;
        showError("Unsupported FRF format");
        return;
    }

    LoadFailed = false;
    LoadedVersion = version;
    Clear();
    Dictionary.Clear();
    TemplateReader r(in, version);
    try {
        ReadPagesSection(r, *this, PagesSectionEnd::EndTag);
        if (!e.MissingClasses.empty()) {
            LoadFailed = true;
            showError(MissingClassesMessage(e.MissingClasses));
            return;
        }
        NotifyReportLoaded(*this);
        if (in.remaining() > 0) readTrailer(r, *this);
        else resetInformation(*this);
    } catch (const std::exception&) {
        emptyReport(*this);
        resetInformation(*this);
        Dictionary.Clear();
        LoadFailed = true;
        showError("Unsupported FRF format");
        return;
    }

    if (PasswordProtected && origin == TemplateOrigin::File) {
        const std::optional<std::string> entered = ui::services().password("Password", "Enter password");
        std::string gbk;
        const bool accepted = entered && text::tryUtf8ToGbk(*entered, gbk) && gbk == ReportPassword;
        if (!accepted) {
            resetInformation(*this);
            TemplateFileName = "Untitled";
            emptyReport(*this);
            PasswordRefused = true;
            LoadFailed = true;
        }
    }
}

void TfrReport::LoadFromBytes(std::string_view bytes, TemplateOrigin origin)
{
    BinaryReader in(bytes);
    LoadFromStream(in, origin);
}

bool TfrReport::LoadFromFile(const std::string& fileName)
{
    QFile file(text::toQString(fileName));
    if (!file.exists()) return false;
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateFileError(fmt::format("Cannot open file \"{}\": {}", text::gbkToUtf8(fileName),
                                            file.errorString().toStdString()));
    const QByteArray bytes = file.readAll();
    LoadFromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), TemplateOrigin::File);
    // A refused password leaves an empty "Untitled" report, not one that a
    // save would write over the protected file.
    if (!PasswordRefused) TemplateFileName = fileName;
    return true;
}

} // namespace pemvora::report
