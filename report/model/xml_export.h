#pragma once
// The XML export of a report (".fr3"): the report, its pages and their objects
// as XML elements, for report designers that read this layout. The text is
// UTF-8 (what its declaration without an encoding means), lines end with
// CR LF, and every attribute value is escaped ("&", "<", ">", the double
// quote, tab, line feed and carriage return as character references) so that
// any XML reader gets the values back as they were.

#include <string>

namespace pemvora::report {

class TfrReport;
class TfrDataDictionary;

// The export as text. A value holding a control character that XML cannot
// carry in any form (bytes 1 to 31 other than tab, line feed and carriage
// return) raises TemplateSaveError naming it.
std::string ExportXml(const TfrReport& report);

// Writes the export to `fileName` with its extension replaced by ".fr3" (the
// old file is replaced only once the new one is whole) and returns the name
// written. Raises TemplateSaveError or TemplateFileError.
std::string SaveXmlExportToFile(const TfrReport& report, const std::string& fileName);

namespace xmlexport {

// The scripts of the pages and objects as one program (GBK): a procedure
// "<name>OnBeforePrint" per non-empty script, pages named "Page" + number,
// then an empty main block; every line ends with CR LF.
std::string ScriptText(const TfrReport& report);

// The dictionary's variables in the binary component-stream encoding (bytes,
// not yet hexadecimal).
std::string DictionaryData(const TfrDataDictionary& dictionary);

} // namespace xmlexport

} // namespace pemvora::report
