// Drawing prepared pages and pointing at their objects: a page read back from
// its file draws exactly as its objects did, only what can be seen is drawn,
// pages out of use keep no objects, and hyperlink objects follow page links
// and web or mail addresses but nothing else.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/support/pixels.h"

#include "report/canvas/recording_canvas.h"
#include "report/engine/link_opener.h"
#include "report/printer/recording_printer.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <sstream>

namespace pemvora::report::enginetest {
namespace {

// One drawing operation as text, every field of it.
std::string describe(const Recorded& r)
{
    std::ostringstream s;
    auto rect = [&](const Rect& x) { s << '(' << x.left << ',' << x.top << ',' << x.right << ',' << x.bottom << ')'; };
    auto pen = [&](const Pen& p) { s << " pen " << p.color << '/' << p.width << '/' << static_cast<int>(p.style); };
    if (const auto* t = std::get_if<RecordedText>(&r)) {
        s << "text '" << t->text << "' at " << t->origin.x << ',' << t->origin.y << " box ";
        rect(t->box);
        if (t->clip) rect(*t->clip);
        s << " font " << t->font.name << '/' << t->font.height << '/' << t->font.style << '/' << t->font.color << '/'
          << t->font.angle << " spacing " << t->charSpacing;
    } else if (const auto* l = std::get_if<RecordedLine>(&r)) {
        s << "line " << l->from.x << ',' << l->from.y << " - " << l->to.x << ',' << l->to.y;
        pen(l->pen);
    } else if (const auto* x = std::get_if<RecordedRect>(&r)) {
        s << "rect " << static_cast<int>(x->kind) << ' ';
        rect(x->rect);
        pen(x->pen);
        s << " brush " << x->brush.color << '/' << static_cast<int>(x->brush.style);
    } else if (const auto* i = std::get_if<RecordedImage>(&r)) {
        s << "image ";
        rect(i->target);
        s << ' ' << i->width << 'x' << i->height;
    }
    return s.str();
}

std::vector<std::string> operations(const RecordingCanvas& canvas)
{
    std::vector<std::string> out;
    for (const Recorded& r : canvas.records()) out.push_back(describe(r));
    return out;
}

std::vector<std::string> textsDrawn(const RecordingCanvas& canvas)
{
    std::vector<std::string> out;
    for (const RecordedText& t : canvas.texts()) out.push_back(t.text);
    return out;
}

std::string bitmapBytes()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data.toStdString();
}

class FakeOpener : public LinkOpener {
public:
    bool open(const QUrl& url) override
    {
        opened.push_back(url.toString().toStdString());
        return succeed;
    }
    std::vector<std::string> opened;
    bool succeed = true;
};

using PreparedDrawing = PreparedFixture;

TEST_F(PreparedDrawing, APageReadBackFromItsFileDrawsAsItsObjectsDo)
{
    // The objects as a run leaves them, their text already printed.
    std::vector<std::unique_ptr<TfrView>> printed;
    auto amount = printedText("Memo1", 30, 40, 220, 40, {"壹仟贰佰元整\x01", "Second line"});
    amount->FrameTyp = frame::All;
    amount->FrameWidth = 2;
    amount->FillColor = rgb(255, 255, 200);
    amount->Font.Size = 12;
    amount->Font.Style = fontstyle::Bold;
    amount->Alignment = textalign::Center | textalign::Middle;
    amount->CharSpacing = 1;
    printed.push_back(std::move(amount));
    auto line = std::make_unique<TfrLineView>();
    line->PlaceAt(30, 90, 220, 0);
    line->FrameStyle = penstyle::Dash;
    printed.push_back(std::move(line));
    auto picture = std::make_unique<TfrPictureView>();
    picture->PlaceAt(300, 40, 48, 36);
    picture->Picture = {GraphicKind::Bitmap, bitmapBytes()};
    printed.push_back(std::move(picture));

    pages.Add(*templatePage({kA4, 2100, 2970, 0, kDefaultBin}));
    for (auto& view : printed) pages.AppendObject(0, *view);

    TfrReport other;
    TfrEMFPages& loaded = PreparedPages(other);
    loaded.LoadFromBytes(pages.SaveToBytes());
    loaded.Page(0).InUse = true;

    // Drawn at twice the size, 20 and 30 pixels into the canvas.
    const TfrPageMetrics& m = loaded.Page(0).Paper.metrics;
    const Rect target{20, 30, 20 + 2 * m.PaperWidth, 30 + 2 * m.PaperHeight};
    RecordingCanvas fromFile;
    loaded.Draw(0, fromFile, target);

    RecordingCanvas direct;
    engine().Running = 1;
    for (auto& view : printed) {
        view->Memo = view->WorkLines;
        view->DeviceScaleX = view->DeviceScaleY = 2.0;
        view->DeviceOffsetX = 20;
        view->DeviceOffsetY = 30;
        view->Paint(direct);
    }

    EXPECT_GE(fromFile.records().size(), 8u);
    EXPECT_EQ(operations(fromFile), operations(direct));
    EXPECT_EQ(textsDrawn(fromFile), (std::vector<std::string>{"壹仟贰佰元整", "Second line"}));
}

TEST_F(PreparedDrawing, OnlyObjectsThatCanBeSeenAreDrawnUnlessTheCanvasIsAPrintedPage)
{
    pages.Add(*templatePage());
    // The visible area is 300 x 300 pixels; boxes count 10 pixels wider.
    pages.AppendObject(0, *printedText("Memo1", 10, 10, 80, 20, {"inside"}));
    pages.AppendObject(0, *printedText("Memo2", 305, 100, 80, 20, {"edge"}));
    pages.AppendObject(0, *printedText("Memo3", 312, 100, 80, 20, {"beyond"}));
    pages.AppendObject(0, *printedText("Memo4", 100, 800, 80, 20, {"below"}));
    pages.Page(0).InUse = true;
    const TfrPageMetrics& m = pages.Page(0).Paper.metrics;
    const Rect whole{0, 0, m.PaperWidth, m.PaperHeight};

    testing::TinyImage screen(300, 300);
    RecordingCanvas onScreen(screen.canvas());
    pages.Draw(0, onScreen, whole);
    EXPECT_EQ(textsDrawn(onScreen), (std::vector<std::string>{"inside", "edge"}));

    // A print job's page gets every object, whatever it reports as visible.
    resetPrinting(std::make_unique<RecordingPrinterBackend>(std::vector<FakePrinter>(1)));
    ASSERT_TRUE(printing().backend().beginJob("job", 1, false));
    QImage sheet(300, 300, QImage::Format_RGB32);
    QPainter painter(&sheet);
    PainterCanvas printerPage(painter, 96, 96, Rect{0, 0, 300, 300}, true);
    RecordingCanvas printed(printerPage);
    pages.Draw(0, printed, whole);
    EXPECT_EQ(textsDrawn(printed), (std::vector<std::string>{"inside", "edge", "beyond", "below"}));
    printing().backend().endJob();
}

TEST_F(PreparedDrawing, APageOutOfUseKeepsNoObjects)
{
    pages.Add(*templatePage());
    pages.AppendObject(0, *printedText("Memo1", 10, 10, 50, 20, {"text"}));
    RecordingCanvas canvas;

    pages.Draw(0, canvas, {0, 0, 100, 100});
    EXPECT_EQ(pages.Page(0).PageObjects, nullptr);
    EXPECT_TRUE(canvas.records().empty());

    pages.Page(0).InUse = true;
    pages.Draw(0, canvas, {0, 0, 758, 1071});
    EXPECT_NE(pages.Page(0).PageObjects, nullptr);
    EXPECT_EQ(textsDrawn(canvas), std::vector<std::string>{"text"});

    // Leaving the view: not in use, drawn into an empty rectangle.
    pages.Page(0).InUse = false;
    canvas.clear();
    pages.Draw(0, canvas, {});
    EXPECT_EQ(pages.Page(0).PageObjects, nullptr);
    EXPECT_TRUE(canvas.records().empty());
    EXPECT_EQ(engine().Running, 1);
}

TEST_F(PreparedDrawing, AnAutoWidthTextTakesTheWidthOfItsPrintedLinesWhenRebuilt)
{
    pages.Add(*templatePage());
    auto text = printedText("Memo1", 100, 10, 500, 20, {"12"});
    text->Flags |= flag::AutoWidth;
    text->Alignment = textalign::Right;
    pages.AppendObject(0, *text);

    pages.LoadPageObjects(0);
    const TfrView& rebuilt = *pages.Page(0).PageObjects->PageObjects.at(0);
    EXPECT_GT(rebuilt.Width, 10);
    EXPECT_LT(rebuilt.Width, 60);
    EXPECT_EQ(rebuilt.Left + rebuilt.Width, 600);   // right-aligned: the right edge stays
    EXPECT_EQ(engine().Running, 0);
}

class HyperlinkObjects : public PreparedFixture {
protected:
    void SetUp() override
    {
        PreparedFixture::SetUp();
        engine().Links = &opener;
        pages.Add(*templatePage());
        const std::vector<std::pair<const char*, const char*>> links{
            {"URLpage", "@3"},
            {"URLweb", "https://example.com"},
            {"URLmail", "mailto:cheques@example.com"},
            {"URLshell", "/bin/sh"},
            {"URLfile", "file:///etc/passwd"},
            {"Plain", "https://example.com"},
        };
        int top = 0;
        for (const auto& [name, tag] : links) {
            auto text = printedText(name, 0, top, 100, 20, {name});
            text->Tag = tag;
            pages.AppendObject(0, *text);
            top += 30;
        }
    }

    struct Hit {
        bool taken;
        std::string url;
        int cursor;
        std::string status;
    };
    Hit point(int x, int y, bool isClick)
    {
        Hit h{false, "untouched", hitcursor::Default, ""};
        h.taken = pages.HitTest(0, {x, y}, h.url, h.cursor, isClick, &h.status);
        return h;
    }

    FakeOpener opener;
};

TEST_F(HyperlinkObjects, AClickFollowsPageLinksAndWebOrMailAddressesOnly)
{
    struct Case {
        int y;
        std::string url;
        std::vector<std::string> opened;
        bool refused;
    };
    const std::vector<Case> cases{
        {5, "@3", {}, false},
        {35, "", {"https://example.com"}, false},
        {65, "", {"mailto:cheques@example.com"}, false},
        {95, "", {}, true},
        {125, "", {}, true},
    };
    for (const Case& c : cases) {
        opener.opened.clear();
        const Hit hit = point(50, c.y, true);
        EXPECT_TRUE(hit.taken) << c.y;
        EXPECT_EQ(hit.url, c.url) << c.y;
        EXPECT_EQ(opener.opened, c.opened) << c.y;
        EXPECT_EQ(hit.status.find("The link was not followed") == 0, c.refused) << c.y << ": " << hit.status;
    }
    EXPECT_EQ(pageLink(point(50, 5, true).url), 3);
    EXPECT_NE(point(50, 95, true).status.find("/bin/sh"), std::string::npos);
}

TEST_F(HyperlinkObjects, OnlyObjectsNamedUrlAreLinksAndTheirEventsStillHearOfClicks)
{
    // An object without the name: nothing opens, nothing is taken.
    Hit plain = point(50, 155, true);
    EXPECT_FALSE(plain.taken);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_FALSE(point(50, 25, true).taken);   // between the objects

    std::vector<std::string> clicked;
    report.OnObjectClick = [&](TfrView& view) { clicked.push_back(view.Name); };
    EXPECT_TRUE(point(50, 155, true).taken);
    EXPECT_TRUE(point(50, 35, true).taken);
    EXPECT_EQ(clicked, (std::vector<std::string>{"Plain", "URLweb"}));
    EXPECT_EQ(opener.opened, std::vector<std::string>{"https://example.com"});

    // The desktop could not open it: the status line says so.
    opener.succeed = false;
    EXPECT_EQ(point(50, 35, true).status, "The link could not be opened: https://example.com");
}

TEST_F(HyperlinkObjects, HoveringOverALinkShowsTheHandAndItsTag)
{
    const Hit page = point(50, 5, false);
    EXPECT_TRUE(page.taken);
    EXPECT_EQ(page.cursor, hitcursor::HandPoint);
    EXPECT_EQ(page.url, "@3");
    const Hit plain = point(50, 155, false);
    EXPECT_FALSE(plain.taken);
    EXPECT_EQ(plain.cursor, hitcursor::Default);
    EXPECT_TRUE(opener.opened.empty());   // hovering opens nothing

    report.OnMouseOverObject = [](TfrView&, int& cursor) { cursor = Qt::CrossCursor; };
    EXPECT_EQ(point(50, 155, false).cursor, Qt::CrossCursor);
}

TEST_F(HyperlinkObjects, TheTopmostObjectDecidesAndAStretchedPageMapsIntoThePrintableArea)
{
    auto cover = printedText("URLcover", 0, 0, 100, 20, {"cover"});
    cover->Tag = "@7";
    pages.AppendObject(0, *cover);
    EXPECT_EQ(point(50, 5, true).url, "@7");   // drawn last, lies on top

    // StretchToPrintable: the objects are shown inside the printable area
    // (A4 on the virtual printer: 18 pixels in, 722 of 758 wide).
    pages.Clear();
    pages.Add(*templatePage({}, {}, true));
    auto link = printedText("URLcorner", 0, 0, 100, 100, {"x"});
    link->Tag = "@2";
    pages.AppendObject(0, *link);
    EXPECT_FALSE(point(10, 10, true).taken);
    EXPECT_EQ(point(20, 20, true).url, "@2");
    EXPECT_TRUE(point(112, 112, true).taken);
    EXPECT_FALSE(point(115, 50, true).taken);
}

TEST(LinkRules, OnlyWebAndMailAddressesMayBeOpened)
{
    const std::vector<std::pair<std::string, bool>> cases{
        {"https://example.com", true},
        {"HTTP://EXAMPLE.COM/a?b=c#d", true},
        {"  https://example.com/path  ", true},
        {"mailto:cheques@example.com", true},
        {"http://", false},
        {"https:///etc/passwd", false},
        {"file:///etc/passwd", false},
        {"/bin/sh", false},
        {"C:\\Windows\\calc.exe", false},
        {"javascript:alert(1)", false},
        {"ftp://example.com/file", false},
        {"mailto:", false},
        {"https://example.com/\n/bin/sh", false},
        {"", false},
    };
    for (const auto& [tag, allowed] : cases) EXPECT_EQ(followableLink(tag).has_value(), allowed) << tag;

    EXPECT_EQ(pageLink("@3"), 3);
    EXPECT_EQ(pageLink("@12"), 12);
    for (const char* notPage : {"@", "@0", "@3x", "3", "@-1", "@99999999999"})
        EXPECT_FALSE(pageLink(notPage).has_value()) << notPage;
}

} // namespace
} // namespace pemvora::report::enginetest
