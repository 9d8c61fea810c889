#pragma once
// The cheque templates on the reference cheque form: the description in
// app/templates/cheque-form.json (built into the program), the report template
// each family gets from it, and the writing of the fifteen template files.

#include "app/templates/templatechoice.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {
class TfrReport;
}

namespace pemvora::app::templates {

// A description that cannot be read or used; the message names the place.
class DescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A template file that could not be written.
class TemplateWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Millimetres from the form's top-left corner.
struct MillimetreBox {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// One text object of a template. Texts are UTF-8.
struct TemplateText {
    std::string name;
    MillimetreBox box;
    std::string text;                 // with bracketed expressions
    std::string font;
    int size = 10;                    // points
    std::uint32_t alignment = 0;      // text alignment bits (horizontal | vertical)
    bool wrap = false;
    int gap = 2;                      // inner margin left and right, design pixels
};

struct ChequeFormDescription {
    int paperWidth = 0;    // tenths of a millimetre
    int paperHeight = 0;
    // Every family's objects in drawing order, digit rows already one object per box.
    std::map<TemplateFamily, std::vector<TemplateText>> families;
};

// Reads a description (JSON with comments). Anything it cannot use fails with
// DescriptionError: unknown keys, boxes outside the paper, missing names.
ChequeFormDescription parseDescription(std::string_view json);
// The description built into the program (app/templates/cheque-form.json).
std::string_view referenceDescriptionText();
const ChequeFormDescription& referenceDescription();

// Design pixels of a length in millimetres, as page geometry converts paper
// sizes (91.6256 design pixels per inch), so that the printed page puts each
// object where the millimetres say.
int millimetresToPixels(double millimetres);

// The expression of digit box `fromRight` (0 = the last box) of a row that
// shows `variable`: its character counted from the end, the currency sign
// "￥" one box before the first digit, nothing further left.
std::string digitBoxText(std::string_view variable, int fromRight);

// Fills `report` (cleared first) with the family's page: the custom paper and
// one text object per entry.
void buildTemplate(const ChequeFormDescription& description, TemplateFamily family, report::TfrReport& report);

// Writes the family's template to `file` through the template writer;
// TemplateWriteError when it cannot.
void writeTemplate(const ChequeFormDescription& description, TemplateFamily family,
                   const std::filesystem::path& file);

struct MadeTemplate {
    std::string fileName;
    bool written = false;   // false: the file existed and was left alone
};

// Writes the fifteen template files into `folder` (which must exist). An
// existing file is kept unless `overwrite`: operators move fields to fit their
// printer and must not lose that.
std::vector<MadeTemplate> makeTemplates(const ChequeFormDescription& description, const std::filesystem::path& folder,
                            bool overwrite);

} // namespace pemvora::app::templates
