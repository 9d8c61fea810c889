#pragma once
// The designer's small dialogs: the band kind of a new band, the page
// options, the lines of a text object (a plain multi-line edit until the
// designer's text editor takes its place), the restrictions and the
// designer's options. Texts reach the model as GBK.

#include "report/designer/designer_document.h"

#include <QDialog>

#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace pemvora::report {

// "Insert new band": one radio button per band kind 0 .. 21 in two columns.
class BandDialog : public QDialog {
    Q_OBJECT
public:
    BandDialog(const std::array<bool, 22>& enabled, QWidget* parent = nullptr);
    int chosenKind() const;
    // Shows the dialog; the chosen kind, or nullopt when cancelled.
    static std::optional<int> ask(const std::array<bool, 22>& enabled, QWidget* parent);

private:
    QButtonGroup* group_;
};

// "Page options": paper, source, margins, options and columns. OK hands the
// parsed values to the document, which checks them all before changing
// anything; a refusal keeps the dialog open with the message shown.
class PageOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PageOptionsDialog(DesignerDocument& document, QWidget* parent = nullptr);
    void accept() override;

    // For tests and tools: the boxes by their caption.
    QLineEdit* widthBox() const { return width_; }
    QLineEdit* heightBox() const { return height_; }
    QLineEdit* marginBox(int side) const { return margins_[std::size_t(side)]; }
    QComboBox* paperList() const { return paper_; }

private:
    void paperChosen();
    std::optional<PageOptionsRequest> readBoxes();

    DesignerDocument& doc_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    QComboBox* paper_;
    QLineEdit* width_;
    QLineEdit* height_;
    QListWidget* bins_;
    std::array<QLineEdit*, 4> margins_{};
    QCheckBox* printToPrev_;
    QCheckBox* stretch_;
    QCheckBox* unlimited_;
    QLineEdit* columns_;
    QLineEdit* columnGap_;
};

// The lines of a text object, its script or its tag, in a plain multi-line edit.
class TextLinesDialog : public QDialog {
    Q_OBJECT
public:
    TextLinesDialog(const QString& caption, const StringList& lines, QWidget* parent = nullptr);
    // The edited lines as GBK; nullopt (after a message) when a character
    // cannot be held in GBK.
    std::optional<StringList> lines() const;
    QPlainTextEdit* editor() const { return edit_; }
    void accept() override;

private:
    QPlainTextEdit* edit_;
};

// "Object's restrictions": one check box per bit.
class RestrictionsDialog : public QDialog {
    Q_OBJECT
public:
    RestrictionsDialog(std::uint8_t restrictions, QWidget* parent = nullptr);
    std::uint8_t restrictions() const;

private:
    std::array<QCheckBox*, 7> boxes_{};
};

// "Designer options": the grid, the units and how the designer works.
class DesignerOptionsDialog : public QDialog {
    Q_OBJECT
public:
    DesignerOptionsDialog(const GridSettings& grid, const DesignerOptions& options, QWidget* parent = nullptr);
    GridSettings grid() const;
    DesignerOptions options() const;

private:
    DesignerOptions base_;
    QCheckBox* showGrid_;
    QCheckBox* alignGrid_;
    QComboBox* gridSize_;
    QComboBox* units_;
    QCheckBox* editAfterInsert_;
    QCheckBox* disableUndo_;
    QCheckBox* bandTitles_;
    QCheckBox* grayButtons_;
};

} // namespace pemvora::report
