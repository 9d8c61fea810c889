#pragma once
// What the designer's text editor does, without widgets: the texts that its
// insertions put at the caret, the script skeleton and the check of a script
// before it is stored, and the GBK form of what was typed.
//
// Texts here are GBK, as the report holds them. Positions are counted in
// characters (a two-byte character counts once), which is also how the
// editor's Unicode panes count them: every GBK character is one UTF-16 unit.

#include "report/model/types.h"
#include "report/script/interpreter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrInstalledFunctions;

// What goes in at the caret, and which part of it is selected afterwards
// (an argument placeholder to type over); with nothing to select the caret
// sits after the inserted text.
struct Insertion {
    std::string text;
    std::size_t selectFrom = 0;     // characters into `text`
    std::size_t selectLength = 0;
};

// A pane's text after an insertion, with the selection it leaves.
struct EditedText {
    std::string text;
    std::size_t selectionStart = 0;
    std::size_t caret = 0;   // equal to selectionStart when nothing is selected
};

// Replaces the characters [from, to) of `text` (the selection, or the caret
// when from == to) by the insertion. Positions beyond the text clamp to its end.
EditedText insertAt(std::string_view text, std::size_t from, std::size_t to, const Insertion& insertion);

// A data source's field as the data-field dialog gives it: Source."Field".
std::string fieldReference(std::string_view source, std::string_view field);
// The text editor's insertion of a data field: [Source."Field"].
Insertion fieldInsertion(std::string_view source, std::string_view field);

// A name as the expression builder inserts it: as chosen when it is made of
// letters A to Z (either case), digits, "." and "_" only; in brackets otherwise.
std::string nameByRule(std::string_view name);

// What the text editor inserts for the expression builder's text: nothing for
// an empty text, the text itself when it already is one bracketed expression,
// otherwise the text in brackets.
std::string expressionInsertion(std::string_view expression);

// The system names of the variables dialog: what it shows and what it gives.
struct SystemVariable {
    const char* shown;
    const char* name;
};
const std::vector<SystemVariable>& systemVariables();

// Does a function's description show an argument list (a "(" in it)?
bool hasArgumentList(std::string_view description);
// The placeholders of the required arguments in a description's syntax, such
// as "<Format>"; optional arguments (in "[ ]") are left out.
std::vector<std::string> requiredArguments(std::string_view description);
// NAME(a, b) from the arguments as given.
std::string functionCall(std::string_view name, const std::vector<std::string>& arguments);

// A function of the installed list as a call to fill in: its name with one
// placeholder per required argument of its description, the first one
// selected; a function whose description shows no argument list is its name
// by the name rule. Optional arguments (in "[ ]") are left out.
Insertion functionInsertion(std::string_view name, std::string_view description);
// The same, ready for a text: enclosed in brackets as one expression.
Insertion functionInsertionInText(std::string_view name, std::string_view description);

// The functions of one category of the installed list with their descriptions,
// sorted by name.
struct FunctionEntry {
    std::string name, description;
};
std::vector<FunctionEntry> functionsOfCategory(const TfrInstalledFunctions& installed, std::string_view category);

// The script pane's starting text: the object's script, or a begin/end
// skeleton when it has none.
StringList scriptForEditor(const StringList& script);
// The script to store from the pane's lines: empty when nothing but blanks,
// control characters and an empty begin/end block is left.
StringList scriptToStore(const StringList& lines);

// Compiles a script as the report would; the first error with its 1-based
// line and column, nullopt when it compiles.
std::optional<ScriptError> checkScript(const StringList& lines);
// The character position of a 1-based line and column in a pane's text,
// clamped to the line and to the text.
std::size_t positionOf(std::string_view text, int line, int column);

// Lines as a pane shows them: one line break between lines.
std::string paneText(const StringList& lines);

// The names the format dialog shows: the categories of a display format
// (Text, Number, Date, Time, Boolean) and the kinds of one category, the last
// of a category other than Text being "Custom".
const std::vector<std::string>& formatCategoryNames();
std::vector<std::string> formatKindNames(int category);

// A pane's Unicode text (UTF-8) as the report's GBK lines; nullopt with the
// refused character named in `error` when GBK cannot hold it.
std::optional<StringList> gbkLines(std::string_view utf8, std::string& error);

} // namespace pemvora::report
