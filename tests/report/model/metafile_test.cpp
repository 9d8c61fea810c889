// Metafile pictures: a Windows metafile through libwmf and an enhanced
// metafile through our own player, drawn into picture objects; damaged and
// unknown records.

#include "report/model/engine_context.h"
#include "report/model/metafile.h"
#include "report/model/objects.h"

#include "tests/report/model/fixture.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace pemvora::report::modeltest {
namespace {

using report::testing::kGreen;
using report::testing::kRed;
using report::testing::TinyImage;

class Bytes {
public:
    Bytes& u16(std::uint16_t v) { s.push_back(char(v & 0xFF)); s.push_back(char(v >> 8)); return *this; }
    Bytes& u32(std::uint32_t v) { u16(v & 0xFFFF); return u16(v >> 16); }
    Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    std::string s;
};

// A placeable metafile, 100 x 100 units at 96 per inch: a red rectangle from
// (20, 20) to (80, 80) drawn with a null pen.
std::string sampleWmf()
{
    Bytes records;
    auto record = [&](std::uint16_t function, std::initializer_list<std::uint16_t> params) {
        records.u32(3 + static_cast<std::uint32_t>(params.size())).u16(function);
        for (std::uint16_t p : params) records.u16(p);
    };
    record(0x020B, {0, 0});          // SETWINDOWORG y, x
    record(0x020C, {100, 100});      // SETWINDOWEXT y, x
    record(0x02FC, {0, 0x00FF, 0x0000, 0});   // CREATEBRUSHINDIRECT solid, COLORREF red
    record(0x012D, {0});             // SELECTOBJECT 0
    record(0x02FA, {5, 0, 0, 0, 0}); // CREATEPENINDIRECT null pen
    record(0x012D, {1});             // SELECTOBJECT 1
    record(0x041B, {80, 80, 20, 20});   // RECTANGLE bottom, right, top, left
    record(0x0000, {});              // EOF

    Bytes header;
    header.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(100).u16(100).u16(96).u32(0);
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= std::uint16_t(static_cast<unsigned char>(header.s[i]) | (static_cast<unsigned char>(header.s[i + 1]) << 8));
    header.u16(sum);
    const std::uint32_t words = 9 + static_cast<std::uint32_t>(records.s.size() / 2);
    header.u16(1).u16(9).u16(0x300).u32(words).u16(2).u32(8).u16(0);
    return header.s + records.s;
}

// An enhanced metafile with a 100 x 100 pixel frame (reference device 96
// pixels per inch): a green rectangle from (10, 10) to (50, 90), an unknown
// record, and a blue line across at y 70.
std::string sampleEmf(bool damagedTail = false)
{
    Bytes r;
    auto record = [&](std::uint32_t type, std::initializer_list<std::int32_t> params) {
        r.u32(type).u32(8 + 4 * static_cast<std::uint32_t>(params.size()));
        for (std::int32_t p : params) r.i32(p);
    };
    record(39, {1, 0, 0x0000FF00, 0});     // CREATEBRUSHINDIRECT 1: solid green
    record(37, {1});                        // SELECTOBJECT 1
    record(37, {int(0x80000008)});          // SELECTOBJECT NULL_PEN
    record(4000, {1, 2, 3});                // unknown: skipped
    record(43, {10, 10, 50, 90});           // RECTANGLE
    if (damagedTail) r.u32(43).u32(4000);   // a record longer than the file
    record(38, {2, 0, 3, 0, 0x00FF0000});   // CREATEPEN 2: solid, width 3, blue
    record(37, {2});
    record(27, {0, 70});                    // MOVETOEX
    record(54, {100, 70});                  // LINETO
    // POLYGON16: a red triangle (60, 10), (90, 10), (90, 40).
    record(39, {3, 0, 0x000000FF, 0});
    record(37, {3});
    r.u32(86).u32(8 + 16 + 4 + 12).i32(60).i32(10).i32(90).i32(40).u32(3);
    r.u16(60).u16(10).u16(90).u16(10).u16(90).u16(40);
    // EXTTEXTOUTW "WW" at (55, 75) in a 16-pixel font, black, transparent cell.
    Bytes face;
    for (char c : std::string("Arial")) face.u16(std::uint16_t(c));
    face.s.resize(64, '\0');
    r.u32(82).u32(12 + 92).u32(4).i32(-16).i32(0).i32(0).i32(0).i32(400).u32(0).u32(0);
    r.s += face.s;
    record(37, {4});
    record(18, {1});                        // SETBKMODE transparent
    record(24, {0});                        // SETTEXTCOLOR black
    const std::uint32_t textAt = 8 + 16 + 12 + 40;
    r.u32(84).u32(textAt + 4).i32(0).i32(0).i32(0).i32(0).u32(1).u32(0).u32(0);
    r.i32(55).i32(75).u32(2).u32(textAt).u32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
    r.u16('W').u16('W');
    record(14, {0, 16, 20});                // EOF

    // Frame 0..2646 hundredths of a millimetre = 100 pixels at 96 per inch.
    const std::int32_t frame = 2646;
    Bytes h;
    h.u32(1).u32(88).i32(0).i32(0).i32(99).i32(99).i32(0).i32(0).i32(frame).i32(frame);
    h.u32(0x464D4520).u32(0x10000).u32(88 + static_cast<std::uint32_t>(r.s.size())).u32(0);
    h.u16(3).u16(0).u32(0).u32(0).u32(0);
    h.i32(1000).i32(1000).i32(265).i32(265);   // 1000 pixels over 264.6 mm: 96 per inch
    return h.s + r.s;
}

class MetafileTest : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        engine().Running = 1;
    }
    // The picture drawn stretched over a 100 x 100 object at (0, 0).
    void paint(TinyImage& image, const std::string& bytes)
    {
        TfrPictureView picture;
        picture.Flags = flag::Stretched;
        picture.PlaceAt(0, 0, 99, 99);
        picture.Picture = {GraphicKind::Metafile, bytes};
        picture.Paint(image.canvas());
    }
};

TEST_F(MetafileTest, WindowsMetafileThroughLibwmf)
{
    EXPECT_EQ(metafileSize(sampleWmf()), (Size{100, 100}));
    TinyImage image(100, 100);
    paint(image, sampleWmf());
    image.saveSample("metafile_wmf", 2);
    EXPECT_EQ(image.at(50, 50), kRed);
    EXPECT_EQ(image.at(25, 25), kRed);
    EXPECT_EQ(image.at(10, 10), kWhite);
    EXPECT_EQ(image.at(90, 50), kWhite);
}

TEST_F(MetafileTest, EnhancedMetafileThroughOurPlayer)
{
    EXPECT_EQ(metafileSize(sampleEmf()), (Size{100, 100}));
    for (bool damagedTail : {false, true}) {
        SCOPED_TRACE(damagedTail);
        TinyImage image(100, 100);
        paint(image, sampleEmf(damagedTail));
        image.saveSample(damagedTail ? "metafile_emf_damaged" : "metafile_emf", 2);
        EXPECT_EQ(image.at(30, 30), kGreen);   // the rectangle, after the unknown record
        EXPECT_EQ(image.at(70, 30), kWhite);
        if (!damagedTail) {
            EXPECT_EQ(image.at(80, 70), rgb(0, 0, 255));
            EXPECT_EQ(image.at(85, 20), kRed);       // inside the triangle
            EXPECT_EQ(image.at(65, 35), kWhite);     // below its slanted side
            int dark = 0;                            // the text's strokes below y 75
            for (int y = 76; y < 92; ++y)
                for (int x = 55; x < 90; ++x) dark += (image.at(x, y) & 0xFF) < 0x60;
            EXPECT_GT(dark, 20);
        } else {
            EXPECT_EQ(image.at(80, 70), kWhite);   // the picture ends at the damaged record
        }
    }
}

TEST_F(MetafileTest, DamagedMetafilesDrawTheEmptyBox)
{
    const std::string emf = sampleEmf();
    const std::string cases[] = {
        "not a metafile at all",
        emf.substr(0, 60),                        // the header cut short
        sampleWmf().substr(0, 30),                // a placeable header and little else
        std::string("\xD7\xCD\xC6\x9A") + std::string(18, '\0'),   // a placeable header of no size
    };
    for (const std::string& bytes : cases) {
        EXPECT_THROW(metafileSize(bytes), GraphicError);
        TinyImage image(100, 100);
        paint(image, bytes);
        EXPECT_EQ(image.at(0, 0), kBlack);    // the box
        EXPECT_EQ(image.at(50, 50), kBlack);  // the cross
        EXPECT_EQ(image.at(50, 20), kWhite);
    }
}

} // namespace
} // namespace pemvora::report::modeltest
