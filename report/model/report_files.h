#pragma once
// The files a report is kept in besides its template (".frf"): the dictionary
// file (".frd"), the new-report template file (".frt") and the XML export
// (".fr3", xml_export.h); which of them a file name asks for; and the save that
// replaces a file only once the new one is whole.
//
// Unlike the template loader, these functions show no messages: a file that
// cannot be read or written raises an exception whose text says why, for the
// caller to show.

#include "report/model/types.h"

#include <optional>
#include <string>
#include <string_view>

namespace pemvora::report {

class TfrReport;
class TfrDataDictionary;

enum class ReportFileForm {
    Template,            // ".frf"
    XmlExport,           // ".fr3"
    NewReportTemplate,   // ".frt"
    Dictionary,          // ".frd"
};

// The form a file name's extension names (compared ignoring case); nullopt for
// any other extension or none.
std::optional<ReportFileForm> FileFormOf(std::string_view fileName);
// ".frf", ".fr3", ".frt" or ".frd".
std::string_view ExtensionOf(ReportFileForm form);
// The name with its extension replaced (or added when it has none).
std::string WithExtension(std::string_view fileName, std::string_view extension);

// Writes `bytes` to a temporary file beside `fileName` and renames it over
// the old file at the end, so a failed save leaves the old file as it was.
// Raises TemplateFileError. File names are GBK.
void SaveBytesToFile(const std::string& fileName, std::string_view bytes);
// The whole content of a file; a missing or unreadable file raises TemplateFileError.
std::string LoadBytesFromFile(const std::string& fileName);

// ---- the dictionary file: one byte 25, then the dictionary block ----

std::string SaveDictionaryToBytes(const TfrDataDictionary& dictionary);
void SaveDictionaryToFile(const TfrDataDictionary& dictionary, const std::string& fileName);
// Replaces the report's dictionary by the one in `bytes`. A damaged file
// raises TemplateFormatError and leaves the dictionary as it was.
void LoadDictionaryFromBytes(TfrReport& report, std::string_view bytes);
void LoadDictionaryFromFile(TfrReport& report, const std::string& fileName);
// Adds a dictionary file to the report's dictionary (MergeDictionary); a
// damaged file raises TemplateFormatError and changes nothing.
void MergeDictionaryFromFile(TfrReport& report, const std::string& fileName);
// Adds `from` to `into`: a variable or alias `into` already has takes the new
// value where it stands; a new variable joins the end of its category (which
// is added at the end when `into` lacks it).
void MergeDictionary(TfrDataDictionary& into, const TfrDataDictionary& from);

// ---- the new-report template file ----
// A description (string list), the position of the pages section (i32), a
// picture flag (u8, 1 when a preview bitmap follows), the bitmap file, then
// the pages section up to the end of the file.

struct NewReportTemplateInfo {
    StringList Description;     // GBK
    std::string PreviewBitmap;  // a bitmap file (".bmp" bytes); empty for none
};

// A picture that is not a bitmap file raises TemplateSaveError, as does
// anything the template writer refuses.
std::string SaveNewReportTemplateToBytes(const TfrReport& report, const NewReportTemplateInfo& info);
void SaveNewReportTemplateToFile(const TfrReport& report, const NewReportTemplateInfo& info,
                                 const std::string& fileName);
// The description and the picture only (what the new-report dialog lists).
// A damaged file, or a picture that is not a bitmap, raises TemplateFormatError.
NewReportTemplateInfo ReadNewReportTemplateInfo(std::string_view bytes);
NewReportTemplateInfo ReadNewReportTemplateInfoFromFile(const std::string& fileName);
// Makes `report` a new report from the template: its pages, objects,
// dictionary and printer choice; no report information or password; named
// "Untitled". A damaged file or one with objects of unknown classes raises
// TemplateFormatError and leaves the report with one empty page.
NewReportTemplateInfo LoadNewReportTemplate(TfrReport& report, std::string_view bytes);
NewReportTemplateInfo LoadNewReportTemplateFromFile(TfrReport& report, const std::string& fileName);

} // namespace pemvora::report
