#pragma once
// The building blocks of the template format: strings and string lists in the
// encodings of both eras, 16-bit booleans, the trailer strings without
// terminator. A TemplateReader / TemplateWriter carries the format version of
// one read or write, so nothing engine-wide decides how a stream is read.

#include "report/model/binary_stream.h"
#include "report/model/types.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora::report {

class TfrView;
class TfrPage;
class TfrDataDictionary;
class DictionaryHost;
class UniqueNames;

// The version this system writes and the newest it reads.
inline constexpr int kTemplateVersion = 25;
inline constexpr int kOldestTemplateVersion = 21;

// A template that cannot be written without damage (a text longer than its
// 16-bit length, too many pages, a value out of range). Nothing is written.
class TemplateSaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream whose bytes make no sense as a template (beyond simply ending early,
// which is StreamError).
class TemplateFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TemplateReader {
public:
    TemplateReader(BinaryReader& in, int version) : in(in), version(version) {}

    // Version >= 23: u16 length, the bytes, one byte skipped. Older: the bytes
    // up to a 0 byte, which is consumed.
    std::string ReadString();
    // Version >= 23: u16 count (0: one byte 0 follows), then lines of u16
    // length + bytes + a separator byte (13 between lines, 0 after the last).
    // Older: one text where 13 ends a line and 0 ends the list.
    StringList ReadStringList();
    // u16 length and the bytes, no terminator.
    std::string ReadTrailerString();

    BinaryReader& in;
    const int version;
    // The names of the objects read so far, when the reader names objects of
    // records without a name (versions before 23, prepared records of 23);
    // without it each generated name looks through the current report.
    UniqueNames* objectNames = nullptr;
};

class TemplateWriter {
public:
    explicit TemplateWriter(BinaryWriter& out) : out(out) {}

    // Always the current encodings; a text or list beyond 65535 bytes or lines
    // raises TemplateSaveError naming `what`.
    void WriteString(std::string_view s, std::string_view what = "text");
    void WriteStringList(const pemvora::report::StringList& lines, std::string_view what = "list");
    void WriteTrailerString(std::string_view s, std::string_view what = "text");

    BinaryWriter& out;
};

// FrameWidth as stored: whole widths up to 10 as the integer itself, any other
// width in thousandths; both read back exactly. A width that cannot be told
// apart from a whole one (below 0.0105 and not whole, or negative and not
// whole) or that does not fit raises TemplateSaveError.
std::int32_t encodeFrameWidth(float width);
float decodeFrameWidth(std::int32_t stored);

// Password bytes as upper-case hexadecimal digits and back (lower case is
// accepted; anything else raises TemplateFormatError).
std::string passwordToHex(std::string_view password);
std::string passwordFromHex(std::string_view digits);

// ---- records ----
// The object record of every kind after the entry's header (the common record,
// then the kind's own part). Prepared objects (PreparedMode) use the prepared form.
void SaveObjectRecord(TemplateWriter& w, const TfrView& view);
void LoadObjectRecord(TemplateReader& r, TfrView& view);
// The page record; LoadPageRecord applies the paper it read.
void SavePageRecord(TemplateWriter& w, const TfrPage& page);
void LoadPageRecord(TemplateReader& r, TfrPage& page);
// The dictionary block (after its tag): both layouts, with the load-time conversions.
void SaveDictionary(TemplateWriter& w, const TfrDataDictionary& dictionary);
void LoadDictionary(TemplateReader& r, TfrDataDictionary& dictionary, const DictionaryHost& host);

} // namespace pemvora::report
