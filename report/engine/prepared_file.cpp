// The prepared-report file (".frp"): TfrEMFPages::SaveToStream / LoadFromStream.
//
// Current layout, all integers little-endian:
//   u8 version (25; a first byte outside 24..31 means the file has none),
//   u8 compression flag (0; 1 or 255 for pages packed by a compressor),
//   string printer name, i32 page count, the page blocks, u8 generator version.
// Page block: i32 absolute offset of the block's end, u16 paper size, i32 paper
// width, i32 paper height (0.1 mm), u8 orientation, i32 bin (version > 23),
// u8 UseMargins, 4 x i32 margins (version > 23), then the page stream.
//
// Older picture layout (a flag byte other than 0, 1 and 255): from the start
// of the file, a string list whose first line is the printer name, i32 page
// count, then per page: i32 end offset, u16 paper size, i32 width, i32 height,
// u8 orientation, u8 UseMargins and the page as one metafile up to the end
// offset. Each page becomes a picture object over the whole page.
//
// Reading trusts nothing: every read is bounds-checked, an end offset must lie
// ahead within the file, a page count must fit in the bytes that are left, and
// every page stream is read once to check its objects. The file is read whole
// before anything changes, so a damaged file leaves the pages as they were.

#include "report/engine/prepared_pages.h"

#include "platform/text/gbk.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/printer/printing_context.h"

#include <QFile>
#include <QSaveFile>

#include <fmt/format.h>

#include <limits>
#include <optional>

namespace pemvora::report {

namespace {

constexpr std::uint8_t kFileVersion = 25;
constexpr std::uint8_t kNotCompressed = 0;

// The smallest page block of each layout, before its page stream.
constexpr std::size_t kPageBlockSize = 4 + 2 + 4 + 4 + 1 + 4 + 1 + 16;
constexpr std::size_t kPageBlockSizeBefore24 = 4 + 2 + 4 + 4 + 1 + 1;
constexpr std::size_t kPictureBlockSize = 4 + 2 + 4 + 4 + 1 + 1;

bool hasVersionByte(int first) { return first >= 24 && first <= 31; }
bool isCurrentLayout(int flag) { return flag == 0 || flag == 1 || flag == 255; }

[[noreturn]] void damaged(std::string_view what)
{
    throw PreparedReportError(fmt::format("The prepared report file is damaged: {}", what));
}

// A page as the file holds it, before the printer has seen its paper.
struct StoredPage {
    int size = 0, width = 0, height = 0, orientation = 0, bin = kDefaultBin;
    bool useMargins = true;
    PageMargins margins;
    std::string stream;
    // The older picture layout: the page's metafile, made into a picture
    // object once the page's size in design pixels is known.
    std::optional<std::string> metafile;
};

struct StoredFile {
    std::string printer;
    std::vector<StoredPage> pages;
    std::optional<std::uint8_t> generator;
};

int readPageCount(BinaryReader& in, std::size_t smallestBlock)
{
    const std::int32_t count = in.i32();
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / smallestBlock)
        damaged(fmt::format("it claims {} {}, more than its {} bytes can hold", count, count == 1 ? "page" : "pages",
                            in.size()));
    return count;
}

// The end offset of page `number` (1-based), read before the block's fields
// and checked once they are read: it must not lie behind them nor beyond the file.
std::size_t checkedEnd(const BinaryReader& in, std::uint32_t end, int number)
{
    if (end < in.position()) damaged(fmt::format("page {} ends before its own contents", number));
    if (end > in.size()) damaged(fmt::format("page {} ends beyond the end of the file", number));
    return end;
}

void checkObjects(const std::string& stream, int number)
{
    try {
        ReadPreparedObjects(stream);
    } catch (const PreparedReportError& e) {
        damaged(fmt::format("page {}: {}", number, e.what()));
    }
}

void readCurrentLayout(BinaryReader& in, int version, int flag, StoredFile& file)
{
    TemplateReader reader(in, version);
    file.printer = reader.ReadString();
    const bool before24 = version <= 23;
    const int count = readPageCount(in, before24 ? kPageBlockSizeBefore24 : kPageBlockSize);
    file.pages.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        StoredPage page;
        const std::uint32_t end = in.u32();
        page.size = in.u16();
        page.width = in.i32();
        page.height = in.i32();
        page.orientation = in.u8();
        if (!before24) page.bin = in.i32();
        page.useMargins = in.u8() != 0;
        if (!before24) {
            page.margins.Left = in.i32();
            page.margins.Top = in.i32();
            page.margins.Right = in.i32();
            page.margins.Bottom = in.i32();
        }
        const std::size_t stop = checkedEnd(in, end, i + 1);
        const std::string_view bytes = in.bytes(stop - in.position());
        if (flag == kNotCompressed) {
            page.stream.assign(bytes);
            checkObjects(page.stream, i + 1);
        } else {
            // Packed by a compressor, and none is installed: the page comes out empty.
            page.stream.assign(1, static_cast<char>(kPreparedRecordVersion));
        }
        file.pages.push_back(std::move(page));
    }
    file.generator = in.u8();
}

void readPictureLayout(BinaryReader& in, int version, StoredFile& file)
{
    TemplateReader reader(in, version);
    const StringList header = reader.ReadStringList();
    if (!header.empty()) file.printer = header.front();
    const int count = readPageCount(in, kPictureBlockSize);
    file.pages.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        StoredPage page;
        const std::uint32_t end = in.u32();
        page.size = in.u16();
        page.width = in.i32();
        page.height = in.i32();
        page.orientation = in.u8();
        page.useMargins = in.u8() != 0;
        const std::size_t stop = checkedEnd(in, end, i + 1);
        page.metafile.emplace(in.bytes(stop - in.position()));
        file.pages.push_back(std::move(page));
    }
}

StoredFile readFile(BinaryReader& in)
{
    StoredFile file;
    try {
        if (in.remaining() == 0) damaged("the file is empty");
        const std::size_t start = in.position();
        int version = in.u8();
        if (!hasVersionByte(version)) {
            version = 0;
            in.seek(start);
        }
        const int flag = in.u8();
        if (isCurrentLayout(flag)) {
            readCurrentLayout(in, version, flag, file);
        } else {
            in.seek(start);
            readPictureLayout(in, version, file);
        }
    } catch (const StreamError&) {
        damaged("it ends too early");
    } catch (const TemplateFormatError& e) {
        damaged(e.what());
    }
    return file;
}

// The page stream of a picture-layout page: one picture object over the whole page.
std::string pictureStream(const std::string& metafile, const TfrPageMetrics& metrics)
{
    TfrPictureView picture;
    picture.PlaceAt(0, 0, metrics.PaperWidth, metrics.PaperHeight);
    if (!metafile.empty()) {
        picture.Picture.Kind = GraphicKind::Metafile;
        picture.Picture.Data = metafile;
    }
    BinaryWriter stream;
    stream.u8(kPreparedRecordVersion);
    WritePreparedRecord(stream, picture);
    return stream.take();
}

} // namespace

// ---------------------------------------------------------------- writing

void TfrEMFPages::SaveToStream(BinaryWriter& out) const
{
    // Written into memory first: a page that cannot be stored leaves `out` as it was.
    BinaryWriter buffer;
    TemplateWriter writer(buffer);
    buffer.u8(kFileVersion);
    buffer.u8(kNotCompressed);
    const TfrPrinter& printer = printing().printer();
    const std::size_t selected = static_cast<std::size_t>(printer.PrinterIndex);
    writer.WriteString(selected < printer.PrinterNames.size() ? printer.PrinterNames[selected] : std::string(),
                       "printer name");
    buffer.i32(Count());
    // The end offsets are 32-bit file positions.
    constexpr std::size_t kLargest = std::numeric_limits<std::int32_t>::max();
    for (const auto& page : pages_) {
        const std::size_t end = buffer.reserveU32();
        buffer.u16(static_cast<std::uint16_t>(page->Paper.size));
        buffer.i32(page->Paper.width);
        buffer.i32(page->Paper.height);
        buffer.u8(static_cast<std::uint8_t>(page->Paper.orientation));
        buffer.i32(page->Paper.bin);
        buffer.u8(page->UseMargins ? 1 : 0);
        buffer.i32(page->Margins.Left);
        buffer.i32(page->Margins.Top);
        buffer.i32(page->Margins.Right);
        buffer.i32(page->Margins.Bottom);
        buffer.bytes(page->Stream.data());
        if (buffer.position() > kLargest)
            throw TemplateSaveError("Cannot save the prepared report: it is larger than 2 GB");
        buffer.patchHere(end);
    }
    buffer.u8(report_ ? report_->GeneratorVersion : 88);
    out.bytes(buffer.data());
}

std::string TfrEMFPages::SaveToBytes() const
{
    BinaryWriter out;
    SaveToStream(out);
    return out.take();
}

void TfrEMFPages::SaveToFile(const std::string& fileName) const
{
    std::string bytes;
    try {
        bytes = SaveToBytes();
    } catch (const TemplateSaveError& e) {
        throw PreparedReportError(e.what());
    }
    // Written beside the old file and renamed over it at the end: a failed
    // save never destroys the file that was there.
    QSaveFile file(text::toQString(fileName));
    if (!file.open(QIODevice::WriteOnly))
        throw PreparedReportError(fmt::format("Cannot create file \"{}\": {}", text::gbkToUtf8(fileName),
                                              file.errorString().toStdString()));
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.commit())
        throw PreparedReportError(fmt::format("Cannot write file \"{}\": {}", text::gbkToUtf8(fileName),
                                              file.errorString().toStdString()));
}

// ---------------------------------------------------------------- reading

void TfrEMFPages::LoadFromStream(BinaryReader& in)
{
    StoredFile file = readFile(in);

    // The file is sound: from here on nothing fails.
    TfrPrinter& printer = printing().printer();
    if (report_) report_->SelectPrinterByName(file.printer);
    std::vector<std::unique_ptr<TfrPreparedPage>> pages;
    pages.reserve(file.pages.size());
    for (StoredPage& stored : file.pages) {
        auto page = std::make_unique<TfrPreparedPage>();
        page->Paper.size = stored.size;
        page->Paper.width = stored.width;
        page->Paper.height = stored.height;
        page->Paper.orientation = stored.orientation;
        page->Paper.bin = stored.bin;
        page->UseMargins = stored.useMargins;
        page->Margins = stored.margins;
        // The metrics are those of the paper on this printer; the page keeps
        // the paper the file names, whatever the printer made of it.
        PagePaper applied;
        ApplyPaper(printer, applied, stored.size, stored.width, stored.height, stored.orientation, stored.bin);
        page->Paper.metrics = applied.metrics;
        const std::string stream =
            stored.metafile ? pictureStream(*stored.metafile, page->Paper.metrics) : std::move(stored.stream);
        page->Stream.bytes(stream);
        pages.push_back(std::move(page));
    }
    pages_ = std::move(pages);
    if (report_ && file.generator) report_->GeneratorVersion = *file.generator;
}

void TfrEMFPages::LoadFromBytes(std::string_view bytes)
{
    BinaryReader in(bytes);
    LoadFromStream(in);
}

void TfrEMFPages::LoadFromFile(const std::string& fileName)
{
    QFile file(text::toQString(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw PreparedReportError(fmt::format("Cannot open file \"{}\": {}", text::gbkToUtf8(fileName),
                                              file.errorString().toStdString()));
    const QByteArray bytes = file.readAll();
    LoadFromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace pemvora::report
