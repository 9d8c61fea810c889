#pragma once
// The report component the cheque window prints through: it loads a template
// file, takes the report variables, prepares the report into the modal preview
// (printing happens from there) and opens the designer on the template.
// Texts are UTF-8; the component speaks engine text behind this interface.

#include <string>

namespace pemvora::app {

class ReportRunner {
public:
    enum class Load {
        Loaded,    // the template was read and the report remembers the file name
        Missing,   // there is no such file; nothing changed
        Failed,    // the file could not be read whole; the loader has told the operator why
    };

    virtual ~ReportRunner() = default;

    // Sets the report variable `name` to the text `value` (the entry of that
    // name takes the value, or is created).
    virtual void SetVariable(const std::string& name, const std::string& value) = 0;
    virtual Load LoadFromFile(const std::string& fileName) = 0;
    // Prepares the loaded template and shows the pages in the modal preview.
    virtual void ShowReport() = 0;
    // Whether a designer is there to open; DesignReport opens it modally on
    // the loaded template, which saves back to the file it was loaded from.
    virtual bool CanDesign() const = 0;
    virtual void DesignReport() = 0;
};

} // namespace pemvora::app
