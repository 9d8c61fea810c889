#pragma once
// The pages section of a template: the printer choice, the pages, their
// objects and the dictionary. It is the body of a template file (between the
// version byte and the end tag 0xFC) and of a new-report template file (after
// its preview picture, up to the end of the file).

#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TemplateReader;
class TemplateWriter;

enum class PagesSectionEnd {
    EndTag,        // a template file: the section ends with 0xFC
    EndOfStream,   // a new-report template file: the section runs to the end
};

// Writes the section without an end tag. An object on a page beyond the
// 256th, or a text too long for its length field, raise TemplateSaveError.
void WritePagesSection(TemplateWriter& w, const TfrReport& report);

// Reads a section into `report`, which the caller has cleared. Object entries
// of classes that are not registered are skipped and their names left in the
// engine's missing-class list; anything else that does not read raises
// (StreamError, TemplateFormatError).
void ReadPagesSection(TemplateReader& r, TfrReport& report, PagesSectionEnd end);

// The message about missing object classes (UTF-8, lines ended by CR).
std::string MissingClassesMessage(const std::vector<std::string>& classNames);

// Tells every object of every page that its template has been read.
void NotifyReportLoaded(TfrReport& report);

} // namespace pemvora::report
