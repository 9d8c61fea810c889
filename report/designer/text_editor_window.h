#pragma once
// The designer's "Text editor": an object's lines above its script, the
// insertions of data fields, variables, functions and whole expressions, and
// the dialogs behind them. The texts each insertion produces, the script check
// and the GBK conversion live in text_editing.h; these windows only show them.

#include "report/designer/designer_document.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QSplitter;
class QToolButton;

namespace pemvora::report {

struct Insertion;

// "Insert data field": the data sets the report's dictionary knows and the
// fields of the one selected. fieldReference() is Source."Field", or empty.
class DataFieldDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataFieldDialog(const TfrReport& report, QWidget* parent = nullptr);
    std::string reference() const;   // GBK
    QListWidget* sources() const { return sources_; }
    QListWidget* fields() const { return fields_; }

private:
    void showFields();
    const TfrReport& report_;
    QListWidget* sources_;
    QListWidget* fields_;
};

// "Variables": the dictionary's categories and "System variables".
class VariablesDialog : public QDialog {
    Q_OBJECT
public:
    explicit VariablesDialog(const TfrReport& report, QWidget* parent = nullptr);
    std::string name() const;   // GBK; PAGE# for the system list with nothing chosen
    QListWidget* categories() const { return categories_; }
    QListWidget* variables() const { return variables_; }

private:
    void showVariables();
    bool systemListShown() const;
    const TfrReport& report_;
    QListWidget* categories_;
    QListWidget* variables_;
};

// "Functions": the installed list by category, with the chosen one's description.
class FunctionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit FunctionsDialog(QWidget* parent = nullptr);
    std::string name() const;
    std::string description() const;

private:
    void showFunctions();
    QListWidget* categories_;
    QListWidget* functions_;
    QLabel* description_;
};

// "Function arguments": one box per required argument of a function; the
// call is built from what was typed, a box left empty keeping its placeholder.
class FunctionArgumentsDialog : public QDialog {
    Q_OBJECT
public:
    FunctionArgumentsDialog(const std::string& name, const std::string& description, QWidget* parent = nullptr);
    std::string call() const;   // GBK
    const std::vector<QLineEdit*>& boxes() const { return boxes_; }

private:
    std::string name_;
    std::vector<std::string> placeholders_;
    std::vector<QLineEdit*> boxes_;
};

// "Expression builder": an expression typed or put together from data
// fields, variables, functions and operators.
class ExpressionBuilder : public QDialog {
    Q_OBJECT
public:
    explicit ExpressionBuilder(const TfrReport& report, QWidget* parent = nullptr);
    std::string expression() const;   // GBK; empty when it cannot be held
    QLineEdit* edit() const { return edit_; }
    void insertName(const std::string& gbkName);
    // What the "&Function..." button inserts for the chosen function: through
    // the arguments dialog when it has an argument list.
    void insertFunction(const std::string& name, const std::string& description);

private:
    void insertText(const QString& text);
    const TfrReport& report_;
    QLineEdit* edit_;
};

// The display format of a text object: category, kind, decimals and
// separator of numbers, and the custom format text.
class DisplayFormatDialog : public QDialog {
    Q_OBJECT
public:
    DisplayFormatDialog(std::uint32_t format, const std::string& formatText, QWidget* parent = nullptr);
    std::uint32_t format() const;
    std::string formatText() const;   // GBK; empty unless the kind is custom
    QListWidget* categories() const { return categories_; }
    QListWidget* kinds() const { return kinds_; }
    QSpinBox* decimals() const { return decimals_; }
    QLineEdit* custom() const { return custom_; }

private:
    void showKinds(int kind);
    void updateEnabled();
    QListWidget* categories_;
    QListWidget* kinds_;
    QSpinBox* decimals_;
    QLineEdit* separator_;
    QLineEdit* custom_;
};

// The highlight of a text object: the condition under which it applies, the
// font style and colour and the fill colour it gives.
class HighlightDialog : public QDialog {
    Q_OBJECT
public:
    HighlightDialog(const TfrHighlight& highlight, const std::string& condition, QWidget* parent = nullptr);
    TfrHighlight highlight() const;
    std::string condition() const;   // GBK
    QLineEdit* conditionBox() const { return condition_; }
    QCheckBox* styleBox(int bit) const;

private:
    void showColors();
    TfrHighlight highlight_;
    QLineEdit* condition_;
    std::array<QCheckBox*, 4> styles_{};
    QPushButton* fontColor_;
    QPushButton* fillColor_;
};

class TextEditorWindow : public QDialog {
    Q_OBJECT
public:
    TextEditorWindow(DesignerDocument& doc, TfrView& view, QWidget* parent = nullptr);
    ~TextEditorWindow() override;

    QPlainTextEdit* textBox() const { return text_; }
    QPlainTextEdit* scriptBox() const { return script_; }
    QLabel* errorLabel() const { return error_; }
    QToolButton* button(const QString& hint) const;

    // Inserts at the caret of the box that last had the focus.
    void insert(const Insertion& insertion);
    void insertDataField();
    void insertExpression();
    // The object's display format, through its dialog (an undo entry of its own).
    void editFormat();
    void editHighlight();

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit* activeBox() const;
    void buildVariableMenu(QToolButton* button);
    void buildFunctionMenu(QToolButton* button);
    void saveSettings();

    DesignerDocument& doc_;
    TfrView& view_;
    QPlainTextEdit* text_;
    QPlainTextEdit* script_;
    QSplitter* splitter_;
    QLabel* error_;
    QPlainTextEdit* active_ = nullptr;
    bool scriptOnly_ = false;
};

} // namespace pemvora::report
