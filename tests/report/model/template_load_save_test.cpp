// What a template load keeps so that a save gives it back: every stored frame
// width, every picture's bytes (decodable or not), pages beyond the 256th;
// and the names a load gives to the pages and objects of old versions, at the
// scale of large files.

#include "tests/report/model/cmyk_jpeg.h"
#include "tests/report/model/template_support.h"

#include "report/model/objects.h"
#include "report/model/picture_codec.h"
#include "report/model/template_codec.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace pemvora::report::test {
namespace {

// The last 8 bytes of a saved template are the time of the save.
std::string withoutSaveTime(const std::string& saved) { return saved.substr(0, saved.size() - 8); }

class TemplateLoadSave : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }

    // Loads `bytes`, expecting no message, and saves the report again.
    std::string loadAndSave(const std::string& bytes, TfrReport& report)
    {
        report.LoadFromBytes(bytes, TemplateOrigin::Memory);
        EXPECT_TRUE(ui.shown.empty()) << (ui.shown.empty() ? "" : ui.shown[0].text);
        EXPECT_FALSE(report.LoadFailed);
        return report.SaveToBytes();
    }

    RecordingUi ui;
};

// A saved template with one line object whose record starts with Left =
// 0x5A5A5A5A; `at` is where its stored FrameWidth lies.
std::string templateWithLine(std::size_t& at)
{
    TfrReport report;
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& line = page.Add<TfrLineView>();
    line.Name = "Line1";
    line.Left = 0x5A5A5A5A;
    std::string bytes = report.SaveToBytes();
    // Left, Top, Width, Height, Flags, FrameTyp, then FrameWidth.
    at = bytes.find("\x5A\x5A\x5A\x5A") + 4 * 4 + 2 + 2;
    return bytes;
}

void putI32(std::string& bytes, std::size_t at, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t getI32(const std::string& bytes, std::size_t at)
{
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
    return static_cast<std::int32_t>(u);
}

TEST_F(TemplateLoadSave, EveryStoredFrameWidthSavesBackAsStored)
{
    std::size_t at = 0;
    std::string bytes = templateWithLine(at);
    const std::int32_t stored[] = {0x7FFFFFFF, std::numeric_limits<std::int32_t>::min(), 2147483000, 12345679,
                                   -7, 5000, 11, 3, 0};
    for (const std::int32_t v : stored) {
        SCOPED_TRACE(v);
        putI32(bytes, at, v);
        TfrReport report;
        std::string saved;
        ASSERT_NO_THROW(saved = loadAndSave(bytes, report));
        EXPECT_EQ(withoutSaveTime(saved), withoutSaveTime(bytes));
    }
    // A width changed after the load is stored in the usual way.
    putI32(bytes, at, 0x7FFFFFFF);
    TfrReport report;
    loadAndSave(bytes, report);
    report.Pages.Items(0).PageObjects[0]->FrameWidth = 2.5f;
    EXPECT_EQ(getI32(report.SaveToBytes(), at), 2500);
}

TEST_F(TemplateLoadSave, PicturesInFourInkColourDecode)
{
    struct Case {
        Inks inks;
        QColor colour;
    };
    const Case cases[] = {
        {{0, 255, 255, 0}, QColor(255, 0, 0)},
        {{255, 0, 255, 0}, QColor(0, 255, 0)},
        {{0, 0, 0, 128}, QColor(127, 127, 127)},
        {{0, 0, 255, 64}, QColor(191, 191, 0)},
    };
    for (const Case& c : cases) {
        for (const bool ycck : {false, true}) {
            SCOPED_TRACE(c.colour.name().toStdString() + (ycck ? " YCCK" : " CMYK"));
            const QImage image = decodeJpeg(cmykJpeg(5, 3, c.inks, ycck));
            ASSERT_EQ(image.size(), QSize(5, 3));
            const QColor got = image.pixelColor(2, 1);
            EXPECT_LE(std::abs(got.red() - c.colour.red()), 6) << got.name().toStdString();
            EXPECT_LE(std::abs(got.green() - c.colour.green()), 6) << got.name().toStdString();
            EXPECT_LE(std::abs(got.blue() - c.colour.blue()), 6) << got.name().toStdString();
        }
    }
}

TEST_F(TemplateLoadSave, PicturesKeepTheirBytesWhetherOrNotTheyDecode)
{
    const TfrPicture pictures[] = {
        {GraphicKind::Jpeg, cmykJpeg(4, 4, {0, 255, 255, 0}, false)},
        {GraphicKind::Jpeg, cmykJpeg(4, 4, {0, 255, 255, 0}, true)},
        {GraphicKind::Jpeg, std::string("\xFF\xD8\xFF\xE0 cut short", 14)},
        {GraphicKind::Bitmap, "BM but nothing of a bitmap"},
        {GraphicKind::Icon, std::string(6, '\0')},
        {static_cast<GraphicKind>(7), "a kind of graphic we do not know"},
    };
    TfrReport original;
    TfrPage& page = original.Pages.Items(original.Pages.Add());
    for (const TfrPicture& picture : pictures) {
        auto& view = page.Add<TfrPictureView>();
        view.Name = std::string("Picture").append(std::to_string(page.ObjectCount()));
        view.Picture = picture;
    }
    const std::string bytes = original.SaveToBytes();

    TfrReport report;
    const std::string saved = loadAndSave(bytes, report);
    EXPECT_EQ(withoutSaveTime(saved), withoutSaveTime(bytes));
    const TfrPage& loaded = report.Pages.Items(0);
    ASSERT_EQ(loaded.ObjectCount(), static_cast<int>(std::size(pictures)));
    for (std::size_t i = 0; i < std::size(pictures); ++i)
        EXPECT_EQ(dynamic_cast<const TfrPictureView&>(*loaded.PageObjects[i]).Picture, pictures[i]) << i;
    // The four-ink pictures draw; the others fail only as graphics.
    const auto& cmyk = dynamic_cast<const TfrPictureView&>(*loaded.PageObjects[0]);
    EXPECT_EQ(decodeGraphic(cmyk.Picture.Kind, cmyk.Picture.Data).pixelColor(1, 1).red() > 240, true);
    for (std::size_t i = 2; i < std::size(pictures); ++i) {
        const auto& p = dynamic_cast<const TfrPictureView&>(*loaded.PageObjects[i]);
        EXPECT_THROW(decodeGraphic(p.Picture.Kind, p.Picture.Data), GraphicError) << i;
    }
}

// A version-22 template: pages without names, then `lines` line objects and
// two text objects without names, all on the first page.
std::string oldTemplate(int pages, int lines)
{
    Bytes b;
    b.u8(22).u16(0).u16(0).u8(0);
    for (int i = 0; i < pages; ++i) {
        b.u8(0xFF).i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0);
        b.raw(std::string(6, '\0')).u16(0).u16(0xFFFF).i32(1).i32(0);
    }
    auto common = [&] {
        b.i32(1).i32(2).i32(3).i32(4).u16(0).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
        b.i32(0).u8(0).u8(0);   // display format, its text, the empty text
    };
    for (int i = 0; i < lines; ++i) {
        if (i == 1 || i == lines - 1) {
            b.u8(kind::Memo).u8(0);
            common();
            b.cstr("Arial").i32(10).u16(0).i32(0).i32(0).u16(1).u16(0).i32(0).i32(0).cstr("");
        }
        b.u8(kind::Line).u8(0);
        common();
    }
    b.u8(0xFC);
    return b.s;
}

TEST_F(TemplateLoadSave, OldObjectsEachGetTheNextFreeNameAcrossTenThousand)
{
    TfrReport report;
    report.LoadFromBytes(oldTemplate(1, 10002), TemplateOrigin::Memory);
    ASSERT_TRUE(ui.shown.empty());
    const TfrPage& page = report.Pages.Items(0);
    ASSERT_EQ(page.ObjectCount(), 10004);
    EXPECT_EQ(page.PageObjects[0]->Name, "Line1");
    EXPECT_EQ(page.PageObjects[1]->Name, "Memo1");
    EXPECT_EQ(page.PageObjects[2]->Name, "Line2");
    EXPECT_EQ(page.PageObjects[10000]->Name, "Line10000");
    // Beyond ten thousand a generated name stays empty; other prefixes go on.
    EXPECT_EQ(page.PageObjects[10001]->Name, "");
    EXPECT_EQ(page.PageObjects[10002]->Name, "Memo2");
    EXPECT_EQ(page.PageObjects[10003]->Name, "");
}

TEST_F(TemplateLoadSave, OldPagesAreNamedInOrderAndMoreThan256Save)
{
    TfrReport report;
    const std::string saved = loadAndSave(oldTemplate(300, 3), report);
    ASSERT_EQ(report.Pages.Count(), 300);
    TfrReport again;
    again.LoadFromBytes(saved, TemplateOrigin::Memory);
    ASSERT_EQ(again.Pages.Count(), 300);
    for (int i : {0, 1, 255, 256, 299}) EXPECT_EQ(again.Pages.Items(i).Name, std::string("Page").append(std::to_string(i + 1)));
    EXPECT_EQ(again.Pages.Items(0).ObjectCount(), 5);
    // Objects name their page in one byte: beyond the 256th a page cannot hold one.
    again.Pages.Items(256).Add<TfrLineView>();
    EXPECT_THROW(again.SaveToBytes(), TemplateSaveError);
}

} // namespace
} // namespace pemvora::report::test
