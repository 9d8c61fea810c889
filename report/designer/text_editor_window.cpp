#include "report/designer/text_editor_window.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/designer/designer_session.h"
#include "report/designer/designer_settings.h"
#include "report/designer/text_editing.h"
#include "report/model/report_dictionary_host.h"
#include "report/script/displayformat.h"
#include "report/script/functions.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pemvora::report {

namespace {

constexpr const char* kEditorSection = "Form/TfrDesignerForm";

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::string gbkOf(const QString& s)
{
    std::string out;
    return text::tryUtf8ToGbk(s.toStdString(), out) ? out : std::string();
}

void fill(QListWidget* list, const std::vector<std::string>& gbkItems)
{
    list->clear();
    for (const std::string& item : gbkItems) list->addItem(text::toQString(item));
}

void selectText(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    list->setCurrentItem(found.isEmpty() ? list->item(0) : found.front());
}

// Keywords and comments of the script language in colour.
class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* doc) : QSyntaxHighlighter(doc)
    {
        keyword_.setFontWeight(QFont::Bold);
        keyword_.setForeground(Qt::darkBlue);
        comment_.setForeground(Qt::darkGreen);
        comment_.setFontItalic(true);
        literal_.setForeground(Qt::darkMagenta);
    }

protected:
    void highlightBlock(const QString& line) override
    {
        static const QRegularExpression keywords(
            QStringLiteral("\\b(begin|end|if|then|else|while|do|repeat|until|for|to|downto|goto|and|or|not|mod)\\b"),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression literals(QStringLiteral("'[^']*'|\\b\\d+(\\.\\d+)?\\b"));
        for (auto it = keywords.globalMatch(line); it.hasNext();) {
            const auto m = it.next();
            setFormat(int(m.capturedStart()), int(m.capturedLength()), keyword_);
        }
        for (auto it = literals.globalMatch(line); it.hasNext();) {
            const auto m = it.next();
            setFormat(int(m.capturedStart()), int(m.capturedLength()), literal_);
        }
        if (const int slashes = int(line.indexOf(QStringLiteral("//"))); slashes >= 0)
            setFormat(slashes, int(line.size()) - slashes, comment_);
    }

private:
    QTextCharFormat keyword_, comment_, literal_;
};

} // namespace

// ---------------------------------------------------------------- data field

DataFieldDialog::DataFieldDialog(const TfrReport& report, QWidget* parent) : QDialog(parent), report_(report)
{
    setWindowTitle(QStringLiteral("Insert data field"));
    sources_ = new QListWidget(this);
    fields_ = new QListWidget(this);
    auto* lists = new QHBoxLayout;
    lists->addWidget(sources_);
    lists->addWidget(fields_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(okCancel(this));
    const ReportDictionaryHost host(report_);
    fill(sources_, report_.Dictionary.ListDataSets(host));
    connect(sources_, &QListWidget::currentRowChanged, this, [this] { showFields(); });
    connect(fields_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    selectText(sources_, text::toQString(designerSession().TextEditor.DataSet));
    resize(420, 300);
}

void DataFieldDialog::showFields()
{
    const ReportDictionaryHost host(report_);
    const QListWidgetItem* source = sources_->currentItem();
    if (!source) {
        fields_->clear();
        return;
    }
    designerSession().TextEditor.DataSet = gbkOf(source->text());
    fill(fields_, report_.Dictionary.ListFields(gbkOf(source->text()), host));
}

std::string DataFieldDialog::reference() const
{
    const QListWidgetItem* source = sources_->currentItem();
    const QListWidgetItem* field = fields_->currentItem();
    if (!source || !field) return {};
    return fieldReference(gbkOf(source->text()), gbkOf(field->text()));
}

// ---------------------------------------------------------------- variables

VariablesDialog::VariablesDialog(const TfrReport& report, QWidget* parent) : QDialog(parent), report_(report)
{
    setWindowTitle(QStringLiteral("Variables"));
    categories_ = new QListWidget(this);
    variables_ = new QListWidget(this);
    auto* lists = new QHBoxLayout;
    lists->addWidget(categories_);
    lists->addWidget(variables_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(okCancel(this));
    fill(categories_, report_.Dictionary.ListCategories());
    categories_->addItem(QStringLiteral("System variables"));
    connect(categories_, &QListWidget::currentRowChanged, this, [this] { showVariables(); });
    connect(variables_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    selectText(categories_, text::toQString(designerSession().TextEditor.VariableCategory));
    resize(420, 300);
}

bool VariablesDialog::systemListShown() const { return categories_->currentRow() == categories_->count() - 1; }

void VariablesDialog::showVariables()
{
    variables_->clear();
    const QListWidgetItem* category = categories_->currentItem();
    if (!category) return;
    designerSession().TextEditor.VariableCategory = gbkOf(category->text());
    if (systemListShown()) {
        for (const SystemVariable& v : systemVariables()) variables_->addItem(QString::fromLatin1(v.shown));
        return;
    }
    fill(variables_, report_.Dictionary.ListCategoryVariables(gbkOf(category->text())));
}

std::string VariablesDialog::name() const
{
    const int row = variables_->currentRow();
    if (systemListShown()) return systemVariables().at(row >= 0 ? std::size_t(row) : 0).name;
    return row >= 0 ? gbkOf(variables_->item(row)->text()) : std::string();
}

// ---------------------------------------------------------------- functions

FunctionsDialog::FunctionsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Functions"));
    categories_ = new QListWidget(this);
    functions_ = new QListWidget(this);
    description_ = new QLabel(this);
    description_->setWordWrap(true);
    description_->setMinimumHeight(48);
    auto* lists = new QHBoxLayout;
    lists->addWidget(categories_);
    lists->addWidget(functions_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(description_);
    layout->addWidget(okCancel(this));
    categories_->addItem(QString::fromLatin1(kAllFunctions.data(), qsizetype(kAllFunctions.size())));
    for (const std::string& c : functionRegistry().Installed.GetFunctionCategories())
        categories_->addItem(text::toQString(c));
    connect(categories_, &QListWidget::currentRowChanged, this, [this] { showFunctions(); });
    connect(functions_, &QListWidget::currentRowChanged, this,
            [this] { description_->setText(text::toQString(description())); });
    connect(functions_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    categories_->setCurrentRow(0);
    resize(480, 340);
}

void FunctionsDialog::showFunctions()
{
    const QListWidgetItem* category = categories_->currentItem();
    functions_->clear();
    if (!category) return;
    for (const FunctionEntry& f : functionsOfCategory(functionRegistry().Installed, gbkOf(category->text())))
        functions_->addItem(text::toQString(f.name));
}

std::string FunctionsDialog::name() const
{
    const QListWidgetItem* item = functions_->currentItem();
    return item ? gbkOf(item->text()) : std::string();
}

std::string FunctionsDialog::description() const
{
    const std::string n = name();
    return n.empty() ? std::string() : functionRegistry().Installed.GetDescription(n);
}

// ---------------------------------------------------------------- builder

ExpressionBuilder::ExpressionBuilder(const TfrReport& report, QWidget* parent) : QDialog(parent), report_(report)
{
    setWindowTitle(QStringLiteral("Expression builder"));
    auto* expressionGroup = new QGroupBox(QStringLiteral("Expression"), this);
    edit_ = new QLineEdit(expressionGroup);
    (new QVBoxLayout(expressionGroup))->addWidget(edit_);

    auto* insertGroup = new QGroupBox(QStringLiteral("Insert"), this);
    auto* grid = new QGridLayout(insertGroup);
    auto* field = new QPushButton(QStringLiteral("&Data field..."), insertGroup);
    auto* variable = new QPushButton(QStringLiteral("&Variable..."), insertGroup);
    auto* function = new QPushButton(QStringLiteral("&Function..."), insertGroup);
    // Enter in the edit box is OK, never one of the insert buttons.
    for (QPushButton* b : {field, variable, function}) b->setAutoDefault(false);
    grid->addWidget(field, 0, 0, 1, 2);
    grid->addWidget(variable, 0, 2, 1, 2);
    grid->addWidget(function, 0, 4, 1, 2);
    const QStringList operators{"+", "-", "*", "/", "(", ")", "=", "<>", "<", ">", "<=", ">=", "and", "or",
                                "not", "mod"};
    for (int i = 0; i < operators.size(); ++i) {
        auto* op = new QPushButton(operators[i], insertGroup);
        op->setAutoDefault(false);
        connect(op, &QPushButton::clicked, this, [this, text = operators[i]] { insertText(text + ' '); });
        grid->addWidget(op, 1 + i / 8, i % 8);
    }
    connect(field, &QPushButton::clicked, this, [this] {
        DataFieldDialog dialog(report_, this);
        if (dialog.exec() == QDialog::Accepted && !dialog.reference().empty()) insertName(dialog.reference());
    });
    connect(variable, &QPushButton::clicked, this, [this] {
        VariablesDialog dialog(report_, this);
        if (dialog.exec() == QDialog::Accepted && !dialog.name().empty()) insertName(dialog.name());
    });
    connect(function, &QPushButton::clicked, this, [this] {
        FunctionsDialog dialog(this);
        if (dialog.exec() == QDialog::Accepted && !dialog.name().empty())
            insertFunction(dialog.name(), dialog.description());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(expressionGroup);
    layout->addWidget(insertGroup);
    QDialogButtonBox* buttons = okCancel(this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(buttons);
    edit_->setFocus();
}

void ExpressionBuilder::insertText(const QString& text)
{
    edit_->insert(text);
    edit_->setFocus();
}

void ExpressionBuilder::insertName(const std::string& gbkName) { insertText(text::toQString(nameByRule(gbkName))); }

void ExpressionBuilder::insertFunction(const std::string& name, const std::string& description)
{
    if (!hasArgumentList(description)) {
        insertName(name);
        return;
    }
    FunctionArgumentsDialog arguments(name, description, this);
    if (arguments.exec() == QDialog::Accepted) insertText(text::toQString(arguments.call()));
}

// ---------------------------------------------------------------- arguments

FunctionArgumentsDialog::FunctionArgumentsDialog(const std::string& name, const std::string& description,
                                                 QWidget* parent)
    : QDialog(parent), name_(name), placeholders_(requiredArguments(description))
{
    setWindowTitle(QStringLiteral("Function arguments"));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(text::toQString(description), this);
    about->setWordWrap(true);
    layout->addWidget(about);
    auto* form = new QFormLayout;
    for (const std::string& placeholder : placeholders_) {
        auto* box = new QLineEdit(this);
        box->setPlaceholderText(text::toQString(placeholder));
        form->addRow(text::toQString(placeholder), box);
        boxes_.push_back(box);
    }
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
    resize(420, 120 + 30 * int(boxes_.size()));
}

std::string FunctionArgumentsDialog::call() const
{
    std::vector<std::string> arguments;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const std::string typed = gbkOf(boxes_[i]->text().trimmed());
        arguments.push_back(typed.empty() ? placeholders_[i] : typed);
    }
    return functionCall(name_, arguments);
}

std::string ExpressionBuilder::expression() const { return gbkOf(edit_->text()); }

// ---------------------------------------------------------------- format

DisplayFormatDialog::DisplayFormatDialog(std::uint32_t format, const std::string& formatText, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Display format"));
    const DisplayFormat current = DisplayFormat::unpack(format);
    categories_ = new QListWidget(this);
    for (const std::string& name : formatCategoryNames()) categories_->addItem(QString::fromStdString(name));
    kinds_ = new QListWidget(this);
    decimals_ = new QSpinBox(this);
    decimals_->setRange(0, 18);
    decimals_->setValue(current.decimals);
    separator_ = new QLineEdit(this);
    separator_->setMaxLength(1);
    if (current.separator != 0) separator_->setText(QString(QLatin1Char(current.separator)));
    custom_ = new QLineEdit(text::toQString(formatText), this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(categories_);
    lists->addWidget(kinds_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Decimals"), decimals_);
    form->addRow(QStringLiteral("Separator"), separator_);
    form->addRow(QStringLiteral("Format"), custom_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));

    categories_->setCurrentRow(std::clamp(current.category, 0, int(formatCategoryNames().size()) - 1));
    showKinds(current.kind);
    connect(categories_, &QListWidget::currentRowChanged, this, [this] { showKinds(0); });
    connect(kinds_, &QListWidget::currentRowChanged, this, [this] { updateEnabled(); });
    resize(420, 320);
}

void DisplayFormatDialog::showKinds(int kind)
{
    kinds_->clear();
    for (const std::string& name : formatKindNames(categories_->currentRow())) kinds_->addItem(QString::fromStdString(name));
    kinds_->setCurrentRow(std::clamp(kind, 0, std::max(0, kinds_->count() - 1)));
    updateEnabled();
}

void DisplayFormatDialog::updateEnabled()
{
    const bool number = categories_->currentRow() == category::Number;
    decimals_->setEnabled(number);
    separator_->setEnabled(number);
    custom_->setEnabled(categories_->currentRow() != category::Text && kinds_->currentRow() == kCustomKind);
}

std::uint32_t DisplayFormatDialog::format() const
{
    DisplayFormat f;
    f.category = std::max(0, categories_->currentRow());
    f.kind = std::max(0, kinds_->currentRow());
    f.decimals = decimals_->value();
    const QString sep = separator_->text();
    f.separator = sep.isEmpty() || sep[0].unicode() > 0x7F ? 0 : char(sep[0].unicode());
    return f.pack();
}

std::string DisplayFormatDialog::formatText() const { return custom_->isEnabled() ? gbkOf(custom_->text()) : std::string(); }

// ---------------------------------------------------------------- highlight

namespace {

constexpr std::array<int, 4> kStyleBits{fontstyle::Bold, fontstyle::Italic, fontstyle::Underline,
                                        fontstyle::StrikeOut};

QColor qcolorOf(Color c)
{
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

Color colorOf(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

} // namespace

HighlightDialog::HighlightDialog(const TfrHighlight& highlight, const std::string& condition, QWidget* parent)
    : QDialog(parent), highlight_(highlight)
{
    setWindowTitle(QStringLiteral("Highlight attributes"));
    condition_ = new QLineEdit(text::toQString(condition), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Condition"), condition_);
    auto* styles = new QHBoxLayout;
    const std::array<const char*, 4> captions{"&Bold", "&Italic", "&Underline", "&Strike out"};
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        styles_[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        styles_[i]->setChecked(highlight.FontStyle & kStyleBits[i]);
        styles->addWidget(styles_[i]);
    }
    form->addRow(QStringLiteral("Font style"), styles);
    fontColor_ = new QPushButton(this);
    fillColor_ = new QPushButton(this);
    form->addRow(QStringLiteral("Font color"), fontColor_);
    form->addRow(QStringLiteral("Background"), fillColor_);
    connect(fontColor_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(qcolorOf(highlight_.FontColor), this, QStringLiteral("Color"));
        if (c.isValid()) highlight_.FontColor = colorOf(c);
        showColors();
    });
    connect(fillColor_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(qcolorOf(highlight_.FillColor), this, QStringLiteral("Color"));
        if (c.isValid()) highlight_.FillColor = colorOf(c);
        showColors();
    });
    showColors();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

void HighlightDialog::showColors()
{
    for (auto [button, color] : {std::pair{fontColor_, highlight_.FontColor}, std::pair{fillColor_, highlight_.FillColor}}) {
        if (color == kNoColor || (static_cast<std::uint32_t>(color) & 0xFF000000u)) {
            button->setText(QStringLiteral("$%1").arg(static_cast<std::uint32_t>(color), 8, 16, QLatin1Char('0')));
            button->setStyleSheet({});
        } else {
            button->setText(QString());
            button->setStyleSheet(QStringLiteral("background-color: %1").arg(qcolorOf(color).name()));
        }
    }
}

QCheckBox* HighlightDialog::styleBox(int bit) const
{
    for (std::size_t i = 0; i < kStyleBits.size(); ++i)
        if (kStyleBits[i] == bit) return styles_[i];
    return nullptr;
}

TfrHighlight HighlightDialog::highlight() const
{
    TfrHighlight h = highlight_;
    h.FontStyle = 0;
    for (std::size_t i = 0; i < styles_.size(); ++i)
        if (styles_[i]->isChecked()) h.FontStyle |= kStyleBits[i];
    return h;
}

std::string HighlightDialog::condition() const { return gbkOf(condition_->text().trimmed()); }

// ---------------------------------------------------------------- editor

TextEditorWindow::TextEditorWindow(DesignerDocument& doc, TfrView& view, QWidget* parent)
    : QDialog(parent), doc_(doc), view_(view)
{
    setWindowTitle(QStringLiteral("Text editor"));
    QSettings store(QStringLiteral("Vorlentrix"), settingsApplicationTitle());
    store.beginGroup(kEditorSection);

    auto* memoView = dynamic_cast<TfrMemoView*>(&view);
    scriptOnly_ = view.ObjectKind == kind::Band;

    text_ = new QPlainTextEdit(this);
    text_->setPlainText(text::toQString(paneText(view.Memo)));
    QFont textFont(store.value("TextFontName", QStringLiteral("Arial")).toString(),
                   store.value("TextFontSize", 10).toInt());
    if (memoView && store.value("UseDefaultFont", true).toBool())
        textFont = QFont(text::toQString(memoView->Font.Name), 10);
    text_->setFont(textFont);
    text_->setReadOnly(view.Restrictions & restrict::DontEditMemo);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* scriptPane = new QWidget(this);
    script_ = new QPlainTextEdit(scriptPane);
    script_->setPlainText(text::toQString(paneText(scriptForEditor(view.ScriptLines))));
    script_->setFont(QFont(store.value("ScriptFontName", QStringLiteral("Courier New")).toString(),
                           store.value("ScriptFontSize", 10).toInt()));
    script_->setLineWrapMode(QPlainTextEdit::NoWrap);
    script_->setReadOnly(view.Restrictions & restrict::DontEditScript);
    if (doc.options().SyntaxHighlight) new ScriptHighlighter(script_->document());
    error_ = new QLabel(scriptPane);
    error_->setStyleSheet(QStringLiteral("color: darkred"));
    error_->hide();
    auto* scriptLayout = new QVBoxLayout(scriptPane);
    scriptLayout->setContentsMargins(0, 0, 0, 0);
    scriptLayout->addWidget(script_);
    scriptLayout->addWidget(error_);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(text_);
    splitter_->addWidget(scriptPane);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const QString& hint, const QString& caption, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(caption);
        b->setToolTip(hint);
        b->setObjectName(hint);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    addButton(QStringLiteral("OK"), QStringLiteral("OK"), [this] { accept(); });
    addButton(QStringLiteral("Cancel"), QStringLiteral("Cancel"), [this] { reject(); });
    addButton(QStringLiteral("Insert expression"), QStringLiteral("[ ]"), [this] { insertExpression(); });
    addButton(QStringLiteral("Insert data field"), QStringLiteral("Field"), [this] { insertDataField(); });
    buildVariableMenu(addButton(QStringLiteral("Insert variable"), QStringLiteral("Variable"), [] {}));
    buildFunctionMenu(addButton(QStringLiteral("Insert function"), QStringLiteral("Function"), [] {}));
    if (dynamic_cast<TfrMemoView*>(&view)) {
        addButton(QStringLiteral("Format"), QStringLiteral("Format"), [this] { editFormat(); });
        addButton(QStringLiteral("Highlight"), QStringLiteral("Highlight"), [this] { editHighlight(); });
    }
    QToolButton* wrap = addButton(QStringLiteral("Word wrap"), QStringLiteral("Wrap"), [] {});
    wrap->setCheckable(true);
    connect(wrap, &QToolButton::toggled, this, [this](bool on) {
        text_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    });
    QToolButton* showScript = addButton(QStringLiteral("Show/hide script"), QStringLiteral("Script"), [] {});
    showScript->setCheckable(true);
    connect(showScript, &QToolButton::toggled, this, [this, scriptPane](bool on) {
        if (scriptOnly_) return;
        scriptPane->setVisible(on);
        designerSession().TextEditor.ScriptShown = on;
    });
    addButton(QStringLiteral("Cut"), QStringLiteral("Cut"), [this] { activeBox()->cut(); });
    addButton(QStringLiteral("Copy"), QStringLiteral("Copy"), [this] { activeBox()->copy(); });
    addButton(QStringLiteral("Paste"), QStringLiteral("Paste"), [this] { activeBox()->paste(); });
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter_);
    resize(560, 420);

    if (scriptOnly_) {
        text_->hide();
        showScript->setChecked(true);
        showScript->setEnabled(false);
        active_ = script_;
    } else {
        const bool shown = designerSession().TextEditor.ScriptShown;
        showScript->setChecked(shown);
        scriptPane->setVisible(shown);
        const int top = std::max(20, store.value("SplitterPos", 100).toInt());
        splitter_->setSizes({top, std::max(20, height() - top - 2)});
        active_ = text_;
    }
    text_->installEventFilter(this);
    script_->installEventFilter(this);
    active_->setFocus();
}

TextEditorWindow::~TextEditorWindow() = default;

QToolButton* TextEditorWindow::button(const QString& hint) const { return findChild<QToolButton*>(hint); }

QPlainTextEdit* TextEditorWindow::activeBox() const { return active_ ? active_ : text_; }

bool TextEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == text_ || watched == script_))
        active_ = static_cast<QPlainTextEdit*>(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            active_ = static_cast<QPlainTextEdit*>(watched);
            insertDataField();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TextEditorWindow::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (event->modifiers() & Qt::ControlModifier)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TextEditorWindow::insert(const Insertion& insertion)
{
    QPlainTextEdit* box = activeBox();
    if (box->isReadOnly() || insertion.text.empty()) return;
    QTextCursor cursor = box->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(text::toQString(insertion.text));
    if (insertion.selectLength > 0) {
        cursor.setPosition(start + int(insertion.selectFrom));
        cursor.setPosition(start + int(insertion.selectFrom + insertion.selectLength), QTextCursor::KeepAnchor);
    }
    box->setTextCursor(cursor);
    box->setFocus();
}

void TextEditorWindow::insertDataField()
{
    DataFieldDialog dialog(doc_.report(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string reference = dialog.reference();
    if (!reference.empty()) insert({"[" + reference + "]"});
}

void TextEditorWindow::insertExpression()
{
    ExpressionBuilder builder(doc_.report(), this);
    if (builder.exec() != QDialog::Accepted) return;
    insert({expressionInsertion(builder.expression())});
}

void TextEditorWindow::editFormat()
{
    DisplayFormatDialog dialog(view_.DisplayFormat, view_.DisplayFormatText, this);
    if (dialog.exec() == QDialog::Accepted) doc_.setDisplayFormat(view_, dialog.format(), dialog.formatText());
}

void TextEditorWindow::editHighlight()
{
    auto* memo = dynamic_cast<TfrMemoView*>(&view_);
    if (!memo) return;
    HighlightDialog dialog(memo->Highlight, memo->HighlightCondition, this);
    if (dialog.exec() == QDialog::Accepted) doc_.setHighlight(*memo, dialog.highlight(), dialog.condition());
}

void TextEditorWindow::buildVariableMenu(QToolButton* button)
{
    auto* menu = new QMenu(button);
    const TfrDataDictionary& dictionary = doc_.report().Dictionary;
    for (const std::string& category : dictionary.ListCategories()) {
        QMenu* sub = menu->addMenu(text::toQString(category));
        for (const std::string& variable : dictionary.ListCategoryVariables(category))
            sub->addAction(text::toQString(variable), this, [this, variable] { insert({expressionInsertion(variable)}); });
    }
    QMenu* system = menu->addMenu(QStringLiteral("System variables"));
    for (const SystemVariable& v : systemVariables())
        system->addAction(QString::fromLatin1(v.shown), this,
                          [this, name = std::string(v.name)] { insert({expressionInsertion(name)}); });
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

void TextEditorWindow::buildFunctionMenu(QToolButton* button)
{
    auto* menu = new QMenu(button);
    const TfrInstalledFunctions& installed = functionRegistry().Installed;
    for (const std::string& category : installed.GetFunctionCategories()) {
        QMenu* sub = menu->addMenu(text::toQString(category));
        sub->setToolTipsVisible(true);
        for (const FunctionEntry& f : functionsOfCategory(installed, category)) {
            QAction* action = sub->addAction(text::toQString(f.name), this,
                                             [this, f] { insert(functionInsertionInText(f.name, f.description)); });
            action->setToolTip(text::toQString(f.description));
        }
    }
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
}

void TextEditorWindow::saveSettings()
{
    if (scriptOnly_) return;
    QSettings store(QStringLiteral("Vorlentrix"), settingsApplicationTitle());
    store.beginGroup(kEditorSection);
    store.setValue("SplitterPos", splitter_->sizes().value(0, 100));
}

void TextEditorWindow::accept()
{
    std::string error;
    const std::optional<StringList> script = gbkLines(script_->toPlainText().toStdString(), error);
    const std::optional<StringList> memo =
        script ? gbkLines(text_->toPlainText().toStdString(), error) : std::nullopt;
    if (!script || !memo) {
        // Nothing typed is lost: the editor stays open on the refused text.
        ui::services().message(error, "Text editor", ui::Icon::Error);
        return;
    }
    // A script the object forbids editing is kept as it is: were it checked,
    // a faulty one would lock the text box's changes in an editor that can
    // neither fix it nor close with OK.
    const bool scriptLocked = script_->isReadOnly();
    if (const std::optional<ScriptError> failed = scriptLocked ? std::nullopt : checkScript(*script)) {
        const std::string pane = text::utf8ToGbk(script_->toPlainText().toStdString());
        QTextCursor cursor = script_->textCursor();
        cursor.setPosition(int(positionOf(pane, failed->Line, failed->Column)));
        script_->setTextCursor(cursor);
        script_->setFocus();
        active_ = script_;
        error_->setText(text::toQString(failed->Text()));
        error_->show();
        return;
    }
    doc_.setMemoAndScript(view_, scriptOnly_ ? view_.Memo : *memo,
                          scriptLocked ? view_.ScriptLines : scriptToStore(*script));
    saveSettings();
    QDialog::accept();
}

void TextEditorWindow::reject()
{
    saveSettings();
    QDialog::reject();
}

} // namespace pemvora::report
