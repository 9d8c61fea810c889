// The compiler of scripts: statements into compiled lines (see interpreter.h).
//
// The source lines are joined, each followed by a carriage return, tabs made
// spaces, and comments removed outside quoted texts (their places are kept, so
// that an error names the line and column of the text as written). Then one
// statement is compiled from the start by recursive descent; the expression
// grammar only finds where an expression ends, the evaluator computes it.
// Last, jumps to labels are resolved and every expression part is compiled
// with the evaluator.

#include "report/script/scriptcompiler.h"

#include "platform/text/gbk.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

constexpr char kCondition = 1;
constexpr char kJump = 2;
constexpr char kCall = 3;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isLetter(c) || isDigit(c) || c == '.' || c == '_'; }
bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string targetBytes(std::size_t target)
{
    return {static_cast<char>(target & 0xFF), static_cast<char>((target >> 8) & 0xFF)};
}

// Raised inside the compiler at the first error; `pos` is in the text without comments.
struct Failure {
    std::size_t pos;
    std::string message;
};

class Compiler {
public:
    Compiler(const StringList& source, const TfrParser& parser) : parser_(parser) { prepare(source); }

    void run(StringList& compiled, std::vector<ScriptError>& errors)
    {
        try {
            if (joinedSize_ > kMaxScriptBytes)
                throw Failure{kMaxScriptBytes, fmt::format("The script is longer than {} bytes", kMaxScriptBytes)};
            if (skipBlanks(0) < text_.size()) statement();
        } catch (const Failure& f) {
            // The statements holding the error end here: their open jumps lead past the end.
            for (const std::size_t line : std::vector<std::size_t>(pending_)) patch(line);
            errors.push_back(locate(f));
        }
        // What compiled before an error stays usable.
        try {
            fixUp();
        } catch (const Failure& f) {
            if (errors.empty()) errors.push_back(locate(f));
        }
        compiled = std::move(lines_);
    }

private:
    // ------------------------------------------------------------ source text

    void prepare(const StringList& source)
    {
        std::string joined;
        for (const std::string& line : source) {
            lineStarts_.push_back(joined.size());
            joined += line;
            joined += '\r';
        }
        std::replace(joined.begin(), joined.end(), '\t', ' ');
        joinedSize_ = joined.size();
        // A source over the limit is refused; its first bytes are kept to locate the error.
        if (joined.size() > kMaxScriptBytes) joined.resize(kMaxScriptBytes);

        bool quoted = false;
        for (std::size_t i = 0; i < joined.size();) {
            const char c = joined[i];
            const std::size_t len = text::charLength(joined, i);
            if (quoted) {
                if (c == '\'' || c == '\r') quoted = false;
            } else if (c == '\'') {
                quoted = true;
            } else if (c == '{' || (c == '/' && i + 1 < joined.size() && joined[i + 1] == '/')) {
                const std::size_t close = c == '{' ? joined.find('}', i + 1) : joined.find('\r', i);
                const std::size_t end = close == std::string::npos ? joined.size() : close + (c == '{' ? 1 : 0);
                comments_.emplace_back(text_.size(), end - i);
                i = end;
                continue;
            }
            text_.append(joined, i, len);
            i += len;
        }
    }

    ScriptError locate(const Failure& f) const
    {
        std::size_t pos = f.pos;
        if (joinedSize_ <= kMaxScriptBytes) {
            for (const auto& [at, length] : comments_)
                if (at <= f.pos) pos += length;
        }
        const auto line = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos);
        const std::size_t index = line == lineStarts_.begin() ? 0 : static_cast<std::size_t>(line - lineStarts_.begin() - 1);
        const std::size_t start = lineStarts_.empty() ? 0 : lineStarts_[index];
        return {static_cast<int>(index + 1), static_cast<int>(pos - start + 1), f.message};
    }

    [[noreturn]] void fail(std::size_t pos, std::string message) { throw Failure{pos, std::move(message)}; }

    std::size_t skipBlanks(std::size_t p) const
    {
        while (p < text_.size() && isBlank(text_[p])) ++p;
        return p;
    }

    // A keyword at `p`: its letters in any case, not followed by a letter, digit or "_".
    bool keywordAt(std::size_t p, std::string_view keyword) const
    {
        if (p + keyword.size() > text_.size()) return false;
        if (!text::equalsNoCase(std::string_view(text_).substr(p, keyword.size()), keyword)) return false;
        const std::size_t after = p + keyword.size();
        return after == text_.size() || !(isLetter(text_[after]) || isDigit(text_[after]) || text_[after] == '_');
    }

    // A word of the statements, which no expression starts with.
    bool reservedAt(std::size_t p) const
    {
        for (std::string_view word : {"BEGIN", "END", "THEN", "ELSE", "DO", "TO", "UNTIL", "OR", "AND", "MOD"})
            if (keywordAt(p, word)) return true;
        return false;
    }

    // Expects `keyword` after the current position; `what` is its name in the error.
    void expectKeyword(std::string_view keyword, std::string_view what)
    {
        const std::size_t p = skipBlanks(pos_);
        if (!keywordAt(p, keyword)) fail(pos_, fmt::format("Need \"{}\" here", what));
        pos_ = p + keyword.size();
    }

    std::string slice(std::size_t from, std::size_t to) const
    {
        return std::string(text::trim(std::string_view(text_).substr(from, to - from)));
    }

    // ------------------------------------------------------------ compiled lines

    std::size_t here() const { return lines_.size(); }

    std::size_t add(std::string line, bool isGoto = false)
    {
        if (lines_.size() >= kMaxCompiledLines)
            fail(pos_, fmt::format("The script compiles to more than {} lines", kMaxCompiledLines));
        lines_.push_back(std::move(line));
        linePos_.push_back(pos_);
        gotoLine_.push_back(isGoto);
        return lines_.size() - 1;
    }

    // A jump or condition line whose target is filled in later.
    std::size_t addOpen(char kind, const std::string& condition = {})
    {
        const std::size_t line = add(std::string(1, kind) + targetBytes(0) + condition);
        pending_.push_back(line);
        return line;
    }

    void patch(std::size_t line)
    {
        const std::string target = targetBytes(here());
        lines_[line][1] = target[0];
        lines_[line][2] = target[1];
        std::erase(pending_, line);
    }

    // ------------------------------------------------------------ statements

    struct Depth {
        explicit Depth(Compiler& c) : c_(c)
        {
            if (++c_.depth_ > kMaxScriptNesting)
                c_.fail(c_.pos_, fmt::format("Statements or expressions nested more than {} deep", kMaxScriptNesting));
        }
        ~Depth() { --c_.depth_; }
        Compiler& c_;
    };

    void statement()
    {
        Depth depth(*this);
        const std::size_t start = skipBlanks(pos_);
        if (start >= text_.size() || text_[start] == ';') return;   // an empty statement
        if (keywordAt(start, "END") || keywordAt(start, "UNTIL")) return;   // left to the enclosing statement
        if (keywordAt(start, "BEGIN")) {
            pos_ = start + 5;
            compound();
        } else if (keywordAt(start, "IF")) {
            pos_ = start + 2;
            ifStatement();
        } else if (keywordAt(start, "WHILE")) {
            pos_ = start + 5;
            whileStatement();
        } else if (keywordAt(start, "REPEAT")) {
            pos_ = start + 6;
            repeatStatement();
        } else if (keywordAt(start, "FOR")) {
            pos_ = start + 3;
            forStatement();
        } else if (keywordAt(start, "GOTO")) {
            pos_ = start + 4;
            gotoStatement();
        } else if (isDigit(text_[start]) && labelAt(start)) {
            statement();
        } else {
            pos_ = start;
            simpleStatement();
        }
    }

    void compound()
    {
        for (;;) {
            statement();
            const std::size_t p = skipBlanks(pos_);
            if (p < text_.size() && text_[p] == ';') {
                pos_ = p + 1;
            } else if (keywordAt(p, "END")) {
                pos_ = p + 3;
                return;
            } else {
                fail(pos_, "Need \";\" or \"end\" here");
            }
        }
    }

    void ifStatement()
    {
        const std::string condition = expression();
        expectKeyword("THEN", "then");
        const std::size_t test = addOpen(kCondition, condition);
        statement();
        if (keywordAt(skipBlanks(pos_), "ELSE")) {
            pos_ = skipBlanks(pos_) + 4;
            const std::size_t skip = addOpen(kJump);
            patch(test);
            statement();
            patch(skip);
        } else {
            patch(test);
        }
    }

    void whileStatement()
    {
        const std::string condition = expression();
        expectKeyword("DO", "do");
        const std::size_t test = addOpen(kCondition, condition);
        statement();
        add(std::string(1, kJump) + targetBytes(test));
        patch(test);
    }

    void repeatStatement()
    {
        const std::size_t top = here();
        for (;;) {
            statement();
            const std::size_t p = skipBlanks(pos_);
            if (p < text_.size() && text_[p] == ';') {
                pos_ = p + 1;
            } else if (keywordAt(p, "UNTIL")) {
                pos_ = p + 5;
                add(std::string(1, kCondition) + targetBytes(top) + expression());
                return;
            } else {
                fail(pos_, "Need \";\" or \"until\" here");
            }
        }
    }

    void forStatement()
    {
        const std::size_t start = skipBlanks(pos_);
        std::size_t end = start;
        if (end < text_.size() && isLetter(text_[end]))
            while (end < text_.size() && isNameChar(text_[end])) ++end;
        pos_ = end;
        const std::size_t assign = skipBlanks(end);
        if (end == start || text_.compare(assign, 2, ":=") != 0) fail(pos_, "Need \":=\" here");
        const std::string variable = slice(start, end);
        pos_ = assign + 2;
        add(variable + " " + expression());
        expectKeyword("TO", "to");
        const std::string last = expression();
        expectKeyword("DO", "do");
        const std::size_t test = addOpen(kCondition, variable + "<=(" + last + ")");
        statement();
        add(variable + " " + variable + "+1");
        add(std::string(1, kJump) + targetBytes(test));
        patch(test);
    }

    void gotoStatement()
    {
        const std::size_t start = skipBlanks(pos_);
        std::size_t end = start;
        while (end < text_.size() && isDigit(text_[end])) ++end;
        if (end == start) fail(pos_, "\"goto\" label must be a number");
        const std::string label = text_.substr(start, end - start) + ":";
        if (label.size() > kMaxLabelLength)
            fail(start, fmt::format("A label may have at most {} characters", kMaxLabelLength));
        pos_ = end;
        add(std::string(1, kJump) + label, true);
    }

    // Digits and ":" (not ":="): enters the label and moves past it.
    bool labelAt(std::size_t start)
    {
        std::size_t end = start;
        while (end < text_.size() && isDigit(text_[end])) ++end;
        if (end >= text_.size() || text_[end] != ':' || (end + 1 < text_.size() && text_[end + 1] == '=')) return false;
        const std::string label = text_.substr(start, end - start + 1);
        if (label.size() > kMaxLabelLength)
            fail(start, fmt::format("A label may have at most {} characters", kMaxLabelLength));
        const bool known = std::any_of(labels_.begin(), labels_.end(), [&](const auto& l) { return l.first == label; });
        if (!known) {
            if (labels_.size() >= kMaxScriptLabels)
                fail(start, fmt::format("A script may have at most {} labels", kMaxScriptLabels));
            labels_.emplace_back(label, here());
        }
        pos_ = end + 1;
        return true;
    }

    // An assignment, a procedure call or an expression statement.
    void simpleStatement()
    {
        const std::size_t start = pos_;
        if (isLetter(text_[start])) {
            std::size_t end = start;
            while (end < text_.size() && isNameChar(text_[end])) ++end;
            std::optional<std::string> index;
            std::size_t after = end;
            if (after < text_.size() && text_[after] == '[') {
                pos_ = after + 1;
                index = expression();
                const std::size_t close = skipBlanks(pos_);
                if (close >= text_.size() || text_[close] != ']') fail(pos_, "Need \"]\" here");
                after = close + 1;
            }
            if (after >= text_.size() || text_[after] != '(') {
                const std::string designator = text_.substr(start, end - start);
                const std::size_t next = skipBlanks(after);
                if (text_.compare(next, 2, ":=") == 0) {
                    pos_ = next + 2;
                    const std::string value = expression();
                    if (index) add(fmt::format("{}SETARRAY({}, {}, {})", kCall, designator, *index, value));
                    else add(designator + " " + value);
                    return;
                }
                const bool callEnds = next >= text_.size() || text_[next] == ';' || keywordAt(next, "END")
                    || keywordAt(next, "ELSE") || keywordAt(next, "UNTIL");
                if (!index && callEnds) {
                    pos_ = after;
                    add(std::string(1, kCall) + designator + "(0)");
                    return;
                }
                pos_ = after;
                fail(pos_, "Need \":=\" here");
            }
        }
        pos_ = start;
        add(std::string(1, kCall) + expression());
    }

    // ------------------------------------------------------------ expressions

    // Reads an expression from the current position; returns its text.
    std::string expression()
    {
        Depth depth(*this);
        const std::size_t start = skipBlanks(pos_);
        simple();
        const std::size_t p = skipBlanks(pos_);
        if (p < text_.size()) {
            std::size_t len = 0;
            if (text_.compare(p, 2, ">=") == 0 || text_.compare(p, 2, "<=") == 0 || text_.compare(p, 2, "<>") == 0)
                len = 2;
            else if (std::strchr("<=>", text_[p]))
                len = 1;
            if (len) {
                pos_ = p + len;
                simple();
            }
        }
        return slice(start, pos_);
    }

    void simple()
    {
        term();
        const std::size_t p = skipBlanks(pos_);
        if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
            pos_ = p + 1;
            simple();
        } else if (keywordAt(p, "OR")) {
            pos_ = p + 2;
            simple();
        }
    }

    void term()
    {
        factor();
        const std::size_t p = skipBlanks(pos_);
        if (p < text_.size() && (text_[p] == '*' || text_[p] == '/')) {
            pos_ = p + 1;
            term();
        } else if (keywordAt(p, "AND") || keywordAt(p, "MOD")) {
            pos_ = p + 3;
            term();
        }
    }

    void factor()
    {
        Depth depth(*this);
        const std::size_t p = skipBlanks(pos_);
        if (p >= text_.size()) fail(pos_, "Need an expression here");
        const char c = text_[p];
        if (reservedAt(p)) fail(pos_, "Need an expression here");
        if (c == '(') {
            pos_ = p + 1;
            expression();
            const std::size_t close = skipBlanks(pos_);
            if (close >= text_.size() || text_[close] != ')') fail(pos_, "Need \")\" here");
            pos_ = close + 1;
        } else if (c == '[') {
            const TfrParser::Bracket b = TfrParser::FindBracket(text_, p);
            if (!b.closed) fail(p, "Need \"]\" here");
            pos_ = b.end + 1;
        } else if (c == '+' || c == '-') {
            pos_ = p + 1;
            expression();
        } else if (keywordAt(p, "NOT")) {
            pos_ = p + 3;
            expression();
        } else if (c == '\'') {
            std::size_t i = p + 1;
            for (;;) {
                if (i >= text_.size() || text_[i] == '\r') fail(i, "Need \"'\" here");
                if (text_[i] == '\'') {
                    if (i + 1 < text_.size() && text_[i + 1] == '\'') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                i = text::nextChar(text_, i);
            }
            pos_ = i + 1;
        } else if (isDigit(c)) {
            std::size_t i = p;
            while (i < text_.size() && isDigit(text_[i])) ++i;
            if (i + 1 < text_.size() && text_[i] == '.' && isDigit(text_[i + 1])) {
                ++i;
                while (i < text_.size() && isDigit(text_[i])) ++i;
            }
            pos_ = i;
        } else if (isLetter(c)) {
            std::size_t i = p;
            while (i < text_.size() && isNameChar(text_[i])) ++i;
            pos_ = i;
            if (i < text_.size() && text_[i] == '[') {
                pos_ = i + 1;
                expression();
                const std::size_t close = skipBlanks(pos_);
                if (close >= text_.size() || text_[close] != ']') fail(pos_, "Need \"]\" here");
                pos_ = close + 1;
            } else if (i < text_.size() && text_[i] == '(') {
                arguments(i);
            }
        } else {
            fail(pos_, "Need an expression here");
        }
    }

    // `open` on the "(" of a call.
    void arguments(std::size_t open)
    {
        pos_ = open + 1;
        const std::size_t first = skipBlanks(pos_);
        if (first < text_.size() && text_[first] == ')') {
            pos_ = first + 1;
            return;
        }
        for (;;) {
            expression();
            const std::size_t p = skipBlanks(pos_);
            if (p < text_.size() && text_[p] == ',') {
                pos_ = p + 1;
            } else if (p < text_.size() && text_[p] == ')') {
                pos_ = p + 1;
                return;
            } else {
                fail(pos_, "Need \",\" or \")\" here");
            }
        }
    }

    // ------------------------------------------------------------ fix-up

    void fixUp()
    {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            std::string& line = lines_[i];
            try {
                if (gotoLine_[i]) {
                    const std::string label = line.substr(1);
                    const auto found =
                        std::find_if(labels_.begin(), labels_.end(), [&](const auto& l) { return l.first == label; });
                    // An undefined label is reported when the jump runs.
                    line = std::string(1, kJump) + (found != labels_.end() ? targetBytes(found->second)
                                                                          : std::string("\xFF\xFF") + label);
                } else if (line[0] == kCondition) {
                    line = line.substr(0, 3) + parser_.Compile(std::string_view(line).substr(3));
                } else if (line[0] == kCall) {
                    line = std::string(1, kCall) + parser_.Compile(std::string_view(line).substr(1));
                } else if (line[0] != kJump) {
                    const std::size_t space = line.find(' ');
                    line = line.substr(0, space) + " " + parser_.Compile(std::string_view(line).substr(space + 1));
                }
            } catch (const std::exception& e) {
                // What the evaluator refuses: the lines before it stay.
                const std::size_t pos = linePos_[i];
                lines_.resize(i);
                fail(pos, e.what());
            }
        }
    }

    const TfrParser& parser_;
    std::string text_;                                        // joined source without comments
    std::size_t joinedSize_ = 0;
    std::vector<std::pair<std::size_t, std::size_t>> comments_;   // (position in text_, length)
    std::vector<std::size_t> lineStarts_;                     // of the source lines in the joined text
    std::size_t pos_ = 0;
    int depth_ = 0;

    StringList lines_;
    std::vector<std::size_t> linePos_;                        // where each line's statement ended
    std::vector<bool> gotoLine_;
    std::vector<std::size_t> pending_;                        // lines whose target is not known yet
    std::vector<std::pair<std::string, std::size_t>> labels_;
};

} // namespace

std::string ScriptError::Text() const { return fmt::format("Line {}/{}: {}", Line, Column, Message); }

void CompileScriptSource(const StringList& source, const TfrParser& parser, StringList& compiled,
                         std::vector<ScriptError>& errors)
{
    Compiler(source, parser).run(compiled, errors);
}

} // namespace pemvora::report
