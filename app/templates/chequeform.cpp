#include "app/templates/chequeform.h"

#include "platform/text/gbk.h"
#include "report/model/memo.h"
#include "report/model/report.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <cmath>
#include <set>

namespace pemvora::app::templates {

// The bytes of app/templates/cheque-form.json (generated at build time).
extern const char kReferenceDescription[];
extern const std::size_t kReferenceDescriptionSize;

namespace {

using nlohmann::json;
using namespace pemvora::report;

constexpr double kDesignPixelsPerInch = 93 / 1.015;
constexpr int kMaxTextLength = 1000;
constexpr int kMaxDigitBoxes = 20;

[[noreturn]] void fail(const std::string& where, const std::string& what)
{
    throw DescriptionError(where.empty() ? what : where + ": " + what);
}

// The keys an object may have: a typing error should not pass unnoticed.
void checkKeys(const json& object, std::initializer_list<const char*> allowed, const std::string& where)
{
    for (const auto& item : object.items()) {
        bool known = false;
        for (const char* key : allowed) known = known || item.key() == key;
        if (!known) fail(where, fmt::format("unknown key \"{}\"", item.key()));
    }
}

const json& member(const json& object, const char* key, const std::string& where)
{
    const auto it = object.find(key);
    if (it == object.end()) fail(where, fmt::format("\"{}\" is missing", key));
    return *it;
}

double number(const json& value, const std::string& where)
{
    if (!value.is_number()) fail(where, "a number is expected");
    const double v = value.get<double>();
    if (!std::isfinite(v)) fail(where, "a number is expected");
    return v;
}

int integer(const json& value, int least, int most, const std::string& where)
{
    if (!value.is_number_integer()) fail(where, "a whole number is expected");
    const long long v = value.get<long long>();
    if (v < least || v > most) fail(where, fmt::format("{} is not between {} and {}", v, least, most));
    return static_cast<int>(v);
}

std::string readText(const json& value, const std::string& where)
{
    if (!value.is_string()) fail(where, "a text is expected");
    std::string s = value.get<std::string>();
    std::string gbk;
    if (!text::tryUtf8ToGbk(s, gbk)) fail(where, fmt::format("\"{}\" has characters a template cannot hold", s));
    if (gbk.size() > kMaxTextLength) fail(where, "the text is too long");
    return s;
}

struct Paper {
    double width = 0, height = 0;
};

MillimetreBox readBox(const json& value, const Paper& paper, const std::string& where)
{
    if (!value.is_array() || value.size() != 4) fail(where, "a box is [left, top, right, bottom]");
    MillimetreBox b{number(value[0], where), number(value[1], where), number(value[2], where),
                    number(value[3], where)};
    if (!(b.left < b.right && b.top < b.bottom)) fail(where, "the box has no area");
    if (b.left < 0 || b.top < 0 || b.right > paper.width || b.bottom > paper.height)
        fail(where, "the box is not on the paper");
    return b;
}

std::uint32_t horizontalAlignment(const std::string& name, const std::string& where)
{
    if (name == "left") return textalign::Left;
    if (name == "right") return textalign::Right;
    if (name == "center") return textalign::Center;
    fail(where, fmt::format("\"{}\" is not left, center or right", name));
}

std::uint32_t verticalAlignment(const std::string& name, const std::string& where)
{
    if (name == "top") return 0;
    if (name == "middle") return textalign::Middle;
    if (name == "bottom") return textalign::Bottom;
    fail(where, fmt::format("\"{}\" is not top, middle or bottom", name));
}

bool isName(const std::string& s)
{
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

// One entry of a part: a text object, or a row of digit boxes (one object each).
std::vector<TemplateText> readObject(const json& entry, const std::map<std::string, MillimetreBox>& boxes,
                                     const std::string& where)
{
    if (!entry.is_object()) fail(where, "an object is expected");
    TemplateText t;
    t.name = readText(member(entry, "name", where), where + ", name");
    if (!isName(t.name)) fail(where, fmt::format("\"{}\" is not a name (letters, digits, _)", t.name));
    const std::string at = where + " (" + t.name + ")";
    checkKeys(entry, {"name", "box", "text", "digits", "count", "font", "size", "align", "valign", "wrap", "gap"}, at);

    const json& boxValue = member(entry, "box", at);
    if (!boxValue.is_string()) fail(at, "\"box\" names one of the form's boxes");
    const auto found = boxes.find(boxValue.get<std::string>());
    if (found == boxes.end()) fail(at, fmt::format("there is no box \"{}\"", boxValue.get<std::string>()));
    t.box = found->second;

    t.font = readText(member(entry, "font", at), at + ", font");
    t.size = integer(member(entry, "size", at), 1, 100, at + ", size");
    const std::uint32_t h = entry.contains("align") ? horizontalAlignment(readText(entry["align"], at), at) : textalign::Left;
    const std::uint32_t v = entry.contains("valign") ? verticalAlignment(readText(entry["valign"], at), at) : textalign::Middle;
    t.alignment = h | v;
    if (entry.contains("wrap")) {
        if (!entry["wrap"].is_boolean()) fail(at + ", wrap", "true or false is expected");
        t.wrap = entry["wrap"].get<bool>();
    }
    if (entry.contains("gap")) t.gap = integer(entry["gap"], 0, 20, at + ", gap");

    const bool digits = entry.contains("digits");
    if (digits == entry.contains("text")) fail(at, "an object has either \"text\" or \"digits\"");
    if (!digits) {
        if (entry.contains("count")) fail(at, "\"count\" belongs to \"digits\"");
        t.text = readText(entry["text"], at + ", text");
        return {t};
    }

    const std::string variable = readText(entry["digits"], at + ", digits");
    if (!isName(variable)) fail(at, fmt::format("\"{}\" is not a variable name", variable));
    const int count = integer(member(entry, "count", at), 1, kMaxDigitBoxes, at + ", count");
    const double step = (t.box.right - t.box.left) / count;
    std::vector<TemplateText> row;
    for (int i = 0; i < count; ++i) {
        TemplateText cell = t;
        cell.name = t.name + std::to_string(i + 1);
        cell.box.left = t.box.left + i * step;
        cell.box.right = i + 1 == count ? t.box.right : t.box.left + (i + 1) * step;
        cell.text = "[" + digitBoxText(variable, count - 1 - i) + "]";
        cell.wrap = false;
        row.push_back(cell);
    }
    return row;
}

} // namespace

int millimetresToPixels(double millimetres)
{
    return static_cast<int>(std::lround(millimetres / 25.4 * kDesignPixelsPerInch));
}

std::string digitBoxText(std::string_view variable, int fromRight)
{
    // The variable is engine text: the sign "￥" takes two bytes, each digit one.
    // LENGTH and COPY count bytes.
    const std::string v(variable);
    const std::string digitCount = fmt::format("(LENGTH({}) - 2)", v);
    return fmt::format("IF({0} > {1}, COPY({2}, LENGTH({2}) - {1}, 1), IF({0} = {1}, '￥', ''))", digitCount,
                       fromRight, v);
}

ChequeFormDescription parseDescription(std::string_view jsonText)
{
    json root;
    try {
        root = json::parse(jsonText.begin(), jsonText.end(), nullptr, true, true);
    } catch (const json::parse_error& e) {
        throw DescriptionError(fmt::format("The description is not valid JSON: {}", e.what()));
    }
    if (!root.is_object()) fail("", "The description is not a JSON object");
    checkKeys(root, {"paper", "boxes", "parts", "families"}, "description");

    const json& paperValue = member(root, "paper", "description");
    if (!paperValue.is_object()) fail("paper", "an object with width and height is expected");
    checkKeys(paperValue, {"width", "height"}, "paper");
    Paper paper{number(member(paperValue, "width", "paper"), "paper, width"),
                number(member(paperValue, "height", "paper"), "paper, height")};
    if (!(paper.width >= 10 && paper.width <= 1000 && paper.height >= 10 && paper.height <= 1000))
        fail("paper", "width and height are millimetres between 10 and 1000");

    std::map<std::string, MillimetreBox> boxes;
    const json& boxValues = member(root, "boxes", "description");
    if (!boxValues.is_object()) fail("boxes", "an object of named boxes is expected");
    for (const auto& item : boxValues.items())
        boxes[item.key()] = readBox(item.value(), paper, "box " + item.key());

    std::map<std::string, std::vector<TemplateText>> parts;
    const json& partValues = member(root, "parts", "description");
    if (!partValues.is_object()) fail("parts", "an object of named lists is expected");
    for (const auto& item : partValues.items()) {
        const std::string where = "part " + item.key();
        if (!item.value().is_array()) fail(where, "a list of objects is expected");
        std::vector<TemplateText>& objects = parts[item.key()];
        int index = 0;
        for (const json& entry : item.value()) {
            for (TemplateText& t : readObject(entry, boxes, fmt::format("{}, object {}", where, ++index)))
                objects.push_back(std::move(t));
        }
    }

    ChequeFormDescription d;
    d.paperWidth = static_cast<int>(std::lround(paper.width * 10));
    d.paperHeight = static_cast<int>(std::lround(paper.height * 10));
    const json& familyValues = member(root, "families", "description");
    if (!familyValues.is_object()) fail("families", "an object of part lists is expected");
    for (const auto& item : familyValues.items()) {
        const std::string where = "family " + item.key();
        const auto family = familyByName(item.key());
        if (!family) fail(where, "the families are carry, acarry and cash");
        if (!item.value().is_array()) fail(where, "a list of part names is expected");
        std::vector<TemplateText>& objects = d.families[*family];
        std::set<std::string> names;
        for (const json& partName : item.value()) {
            const std::string name = readText(partName, where);
            const auto part = parts.find(name);
            if (part == parts.end()) fail(where, fmt::format("there is no part \"{}\"", name));
            for (const TemplateText& t : part->second) {
                if (!names.insert(t.name).second) fail(where, fmt::format("two objects are named {}", t.name));
                objects.push_back(t);
            }
        }
    }
    for (TemplateFamily f : kTemplateFamilies)
        if (!d.families.count(f)) fail("families", fmt::format("the family {} is missing", familyName(f)));
    return d;
}

std::string_view referenceDescriptionText()
{
    return {kReferenceDescription, kReferenceDescriptionSize};
}

const ChequeFormDescription& referenceDescription()
{
    static const ChequeFormDescription description = parseDescription(referenceDescriptionText());
    return description;
}

void buildTemplate(const ChequeFormDescription& description, TemplateFamily family, TfrReport& report)
{
    report.Clear();
    // A cheque prints on the printer selected at the moment, never on one the
    // template happened to be made on (nor on the virtual printer).
    report.Printer.PrintToDefault = true;
    const int index = report.Pages.Add(PaperRequest{kCustomPaper, description.paperWidth, description.paperHeight,
                                                    0, kDefaultBin});
    TfrPage& page = report.Pages[index];
    for (const TemplateText& t : description.families.at(family)) {
        auto& memo = page.Add<TfrMemoView>();
        memo.Name = text::utf8ToGbk(t.name);
        const int left = millimetresToPixels(t.box.left);
        const int top = millimetresToPixels(t.box.top);
        memo.PlaceAt(left, top, millimetresToPixels(t.box.right) - left, millimetresToPixels(t.box.bottom) - top);
        memo.Memo = {text::utf8ToGbk(t.text)};
        memo.Font.Name = text::utf8ToGbk(t.font);
        memo.Font.Size = t.size;
        memo.Alignment = t.alignment;
        memo.GapX = t.gap;
        memo.FrameTyp = 0;
        // The box does not grow: a value that fitted the form keeps its place.
        memo.Flags = t.wrap ? flag::WordWrap : std::uint16_t{0};
    }
}

void writeTemplate(const ChequeFormDescription& description, TemplateFamily family,
                   const std::filesystem::path& file)
{
    TfrReport report;
    buildTemplate(description, family, report);
    std::string gbkName;
    if (!text::tryUtf8ToGbk(file.string(), gbkName))
        throw TemplateWriteError("The file name cannot be held in GBK: " + file.string());
    try {
        report.SaveToFile(gbkName);
    } catch (const std::exception& e) {
        throw TemplateWriteError(text::gbkToUtf8(e.what()));
    }
}

std::vector<MadeTemplate> makeTemplates(const ChequeFormDescription& description,
                                        const std::filesystem::path& folder, bool overwrite)
{
    std::vector<MadeTemplate> made;
    for (const char* bank : kTemplateBanks) {
        for (TemplateFamily family : kTemplateFamilies) {
            const std::string name = *templateFileName(bank, family);
            const std::filesystem::path file = folder / name;
            std::error_code ec;
            if (!overwrite && std::filesystem::exists(file, ec)) {
                made.push_back({name, false});
                continue;
            }
            writeTemplate(description, family, file);
            made.push_back({name, true});
        }
    }
    return made;
}

} // namespace pemvora::app::templates
