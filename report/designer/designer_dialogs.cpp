#include "report/designer/designer_dialogs.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/designer/text_editing.h"
#include "report/printer/printing_context.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pemvora::report {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// A number as typed: a comma or a point as the decimal separator.
std::optional<double> parseNumber(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

QString mmText(double mm) { return QString::fromStdString(formatMillimetres(mm)); }

} // namespace

// ---------------------------------------------------------------- band

BandDialog::BandDialog(const std::array<bool, 22>& enabled, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Insert new band"));
    auto* box = new QGroupBox(QStringLiteral("Band type"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(20);
    group_ = new QButtonGroup(this);
    bool first = true;
    for (int k = 0; k < 22; ++k) {
        auto* radio = new QRadioButton(QString::fromLatin1(bandkind::displayName(k).data(),
                                                           int(bandkind::displayName(k).size())),
                                       box);
        radio->setEnabled(enabled[std::size_t(k)]);
        if (enabled[std::size_t(k)] && first) {
            radio->setChecked(true);
            first = false;
        }
        group_->addButton(radio, k);
        grid->addWidget(radio, k % 11, k / 11);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(okCancel(this));
}

int BandDialog::chosenKind() const { return group_->checkedId(); }

std::optional<int> BandDialog::ask(const std::array<bool, 22>& enabled, QWidget* parent)
{
    BandDialog dialog(enabled, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenKind() < 0) return std::nullopt;
    return dialog.chosenKind();
}

// ---------------------------------------------------------------- page options

PageOptionsDialog::PageOptionsDialog(DesignerDocument& document, QWidget* parent) : QDialog(parent), doc_(document)
{
    setWindowTitle(QStringLiteral("Page options"));
    const TfrPage& page = doc_.page();
    const PageOptionsRequest shown = pageOptionsOf(page, doc_.options().UnlimitedHeight);
    const TfrPrinter& printer = printing().printer();
    auto* tabs = new QTabWidget(this);

    // Paper
    auto* paperTab = new QWidget;
    auto* orientation = new QGroupBox(QStringLiteral("Orientation"));
    portrait_ = new QRadioButton(QStringLiteral("&Portrait"));
    landscape_ = new QRadioButton(QStringLiteral("&Landscape"));
    (shown.Orientation == 1 ? landscape_ : portrait_)->setChecked(true);
    auto* orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(portrait_);
    orientationLayout->addWidget(landscape_);
    orientationLayout->addStretch(1);
    auto* size = new QGroupBox(QStringLiteral("Size"));
    paper_ = new QComboBox;
    for (std::size_t i = 0; i < printer.PaperNames.size() && i < printer.PaperIds.size(); ++i)
        paper_->addItem(text::toQString(printer.PaperNames[i]), printer.PaperIds[i]);
    int paperIndex = paper_->findData(shown.PaperSize);
    if (paperIndex < 0) paperIndex = paper_->findData(kCustomPaper);
    paper_->setCurrentIndex(paperIndex);
    width_ = new QLineEdit;
    height_ = new QLineEdit;
    if (shown.PaperSize == kCustomPaper) {
        width_->setText(mmText(shown.WidthMm));
        height_->setText(mmText(shown.HeightMm));
    }
    auto* sizeLayout = new QFormLayout(size);
    sizeLayout->addRow(paper_);
    sizeLayout->addRow(QStringLiteral("&Width, mm"), width_);
    sizeLayout->addRow(QStringLiteral("&Height, mm"), height_);
    auto* paperLayout = new QHBoxLayout(paperTab);
    paperLayout->addWidget(orientation);
    paperLayout->addWidget(size, 1);
    tabs->addTab(paperTab, QStringLiteral("Paper"));
    connect(paper_, &QComboBox::currentIndexChanged, this, &PageOptionsDialog::paperChosen);
    paperChosen();

    // Source
    auto* sourceTab = new QWidget;
    auto* source = new QGroupBox(QStringLiteral("Paper source"));
    bins_ = new QListWidget;
    for (std::size_t i = 0; i < printer.BinNames.size() && i < printer.BinIds.size(); ++i) {
        auto* item = new QListWidgetItem(text::toQString(printer.BinNames[i]), bins_);
        item->setData(Qt::UserRole, printer.BinIds[i]);
        if (printer.BinIds[i] == shown.Bin || (isDefaultBin(shown.Bin) && isDefaultBin(printer.BinIds[i])))
            bins_->setCurrentItem(item);
    }
    if (!bins_->currentItem() && bins_->count() > 0) bins_->setCurrentRow(0);
    (new QVBoxLayout(source))->addWidget(bins_);
    (new QVBoxLayout(sourceTab))->addWidget(source);
    tabs->addTab(sourceTab, QStringLiteral("Source"));

    // Margins
    auto* marginsTab = new QWidget;
    auto* marginsBox = new QGroupBox(QStringLiteral("Page margins"));
    auto* marginsLayout = new QFormLayout(marginsBox);
    const std::array<double, 4> values{shown.LeftMm, shown.TopMm, shown.RightMm, shown.BottomMm};
    const std::array<const char*, 4> captions{"&Left, mm", "&Top, mm", "&Right, mm", "&Bottom, mm"};
    for (std::size_t i = 0; i < 4; ++i) {
        margins_[i] = new QLineEdit(mmText(values[i]));
        marginsLayout->addRow(QString::fromLatin1(captions[i]), margins_[i]);
    }
    (new QVBoxLayout(marginsTab))->addWidget(marginsBox);
    tabs->addTab(marginsTab, QStringLiteral("Margins"));

    // Options
    auto* optionsTab = new QWidget;
    auto* options = new QGroupBox(QStringLiteral("Options"));
    printToPrev_ = new QCheckBox(QStringLiteral("&Print to previous page"));
    stretch_ = new QCheckBox(QStringLiteral("&Stretch to print area"));
    unlimited_ = new QCheckBox(QStringLiteral("&Unlimited height"));
    printToPrev_->setChecked(shown.PrintToPrevPage);
    stretch_->setChecked(shown.StretchToPrintArea);
    unlimited_->setChecked(shown.UnlimitedHeight);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(printToPrev_);
    optionsLayout->addWidget(stretch_);
    optionsLayout->addWidget(unlimited_);
    auto* columns = new QGroupBox(QStringLiteral("Columns"));
    columns_ = new QLineEdit(QString::number(shown.Columns));
    columnGap_ = new QLineEdit(mmText(shown.ColumnGapMm));
    auto* columnsLayout = new QFormLayout(columns);
    columnsLayout->addRow(QStringLiteral("&Number"), columns_);
    columnsLayout->addRow(QStringLiteral("&Column gap, mm"), columnGap_);
    auto* optionsTabLayout = new QHBoxLayout(optionsTab);
    optionsTabLayout->addWidget(options);
    optionsTabLayout->addWidget(columns);
    tabs->addTab(optionsTab, QStringLiteral("Options"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(okCancel(this));
}

void PageOptionsDialog::paperChosen()
{
    const bool custom = paper_->currentData().toInt() == kCustomPaper;
    width_->setEnabled(custom);
    height_->setEnabled(custom);
}

std::optional<PageOptionsRequest> PageOptionsDialog::readBoxes()
{
    PageOptionsRequest r;
    r.PrintToPrevPage = printToPrev_->isChecked();
    r.StretchToPrintArea = stretch_->isChecked();
    r.UnlimitedHeight = unlimited_->isChecked();
    r.Orientation = landscape_->isChecked() ? 1 : 0;
    r.PaperSize = paper_->currentData().toInt();
    r.Bin = bins_->currentItem() ? bins_->currentItem()->data(Qt::UserRole).toInt() : kDefaultBin;

    const auto number = [&](QLineEdit* box, const QString& caption, double& out) {
        const std::optional<double> v = parseNumber(box->text());
        if (!v) {
            QString name = caption;
            name.remove(QLatin1Char('&'));
            ui::services().message(("\"" + box->text() + "\" is not a number (" + name + ")").toStdString(), "Error",
                                   ui::Icon::Error);
            box->setFocus();
            return false;
        }
        out = *v;
        return true;
    };
    if (r.PaperSize == kCustomPaper) {
        if (!number(width_, QStringLiteral("Width, mm"), r.WidthMm)) return std::nullopt;
        if (!number(height_, QStringLiteral("Height, mm"), r.HeightMm)) return std::nullopt;
    }
    const std::array<const char*, 4> captions{"Left, mm", "Top, mm", "Right, mm", "Bottom, mm"};
    double* targets[] = {&r.LeftMm, &r.TopMm, &r.RightMm, &r.BottomMm};
    for (std::size_t i = 0; i < 4; ++i)
        if (!number(margins_[i], QString::fromLatin1(captions[i]), *targets[i])) return std::nullopt;
    if (!number(columnGap_, QStringLiteral("Column gap, mm"), r.ColumnGapMm)) return std::nullopt;
    bool ok = false;
    r.Columns = columns_->text().trimmed().toInt(&ok);
    if (!ok) {
        ui::services().message(("\"" + columns_->text() + "\" is not a valid integer value").toStdString(), "Error",
                               ui::Icon::Error);
        columns_->setFocus();
        return std::nullopt;
    }
    return r;
}

void PageOptionsDialog::accept()
{
    const std::optional<PageOptionsRequest> request = readBoxes();
    if (!request) return;
    if (const std::optional<std::string> refused = doc_.setPageOptions(*request)) {
        ui::services().message(*refused, "Page options", ui::Icon::Warning);
        return;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------- lines

TextLinesDialog::TextLinesDialog(const QString& caption, const StringList& lines, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(caption);
    edit_ = new QPlainTextEdit(this);
    edit_->setPlainText(text::toQString(joinLines(lines)));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addWidget(okCancel(this));
    resize(480, 320);
}

void TextLinesDialog::accept()
{
    // Text a template cannot hold keeps the dialog open, so nothing typed is lost.
    if (!lines()) return;
    QDialog::accept();
}

std::optional<StringList> TextLinesDialog::lines() const
{
    std::string refused;
    std::optional<StringList> lines = gbkLines(edit_->toPlainText().toStdString(), refused);
    // The message names the character a template cannot store.
    if (!lines) ui::services().message(refused, "Error", ui::Icon::Error);
    return lines;
}

// ---------------------------------------------------------------- restrictions

RestrictionsDialog::RestrictionsDialog(std::uint8_t restrictions, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Object's restrictions"));
    static constexpr std::array<const char*, 7> captions{
        "Don't edit &memo", "Don't edit &script", "Don't edit &contents", "Don't mo&dify",
        "Don't change si&ze", "Don't mo&ve",      "Don't de&lete"};
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        boxes_[i]->setChecked((restrictions & (1u << i)) != 0);
        layout->addWidget(boxes_[i]);
    }
    layout->addWidget(okCancel(this));
}

std::uint8_t RestrictionsDialog::restrictions() const
{
    std::uint8_t bits = 0;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i]->isChecked()) bits = static_cast<std::uint8_t>(bits | (1u << i));
    return bits;
}

// ---------------------------------------------------------------- options

DesignerOptionsDialog::DesignerOptionsDialog(const GridSettings& grid, const DesignerOptions& options, QWidget* parent)
    : QDialog(parent), base_(options)
{
    setWindowTitle(QStringLiteral("Designer options"));
    auto* gridBox = new QGroupBox(QStringLiteral("Grid"));
    showGrid_ = new QCheckBox(QStringLiteral("Show &grid"));
    alignGrid_ = new QCheckBox(QStringLiteral("&Align to grid"));
    gridSize_ = new QComboBox;
    gridSize_->addItem(QStringLiteral("4 pixels"), 4);
    gridSize_->addItem(QStringLiteral("8 pixels"), 8);
    gridSize_->addItem(QStringLiteral("18 pixels (5mm)"), 18);
    showGrid_->setChecked(grid.Show);
    alignGrid_->setChecked(grid.Align);
    gridSize_->setCurrentIndex(std::max(0, gridSize_->findData(grid.Size)));
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->addWidget(showGrid_);
    gridLayout->addWidget(alignGrid_);
    gridLayout->addWidget(gridSize_);

    auto* other = new QGroupBox(QStringLiteral("Options"));
    units_ = new QComboBox;
    units_->addItems({QStringLiteral("Pixels"), QStringLiteral("MM"), QStringLiteral("Inches")});
    units_->setCurrentIndex(options.Units);
    editAfterInsert_ = new QCheckBox(QStringLiteral("&Editing after insert"));
    disableUndo_ = new QCheckBox(QStringLiteral("&Disable undo"));
    bandTitles_ = new QCheckBox(QStringLiteral("Show &band titles"));
    grayButtons_ = new QCheckBox(QStringLiteral("&Colored buttons"));
    editAfterInsert_->setChecked(options.EditAfterInsert);
    disableUndo_->setChecked(options.DisableUndo);
    bandTitles_->setChecked(options.BandTitles);
    grayButtons_->setChecked(!options.GrayButtons);
    auto* otherLayout = new QFormLayout(other);
    otherLayout->addRow(QStringLiteral("&Units"), units_);
    otherLayout->addRow(editAfterInsert_);
    otherLayout->addRow(disableUndo_);
    otherLayout->addRow(bandTitles_);
    otherLayout->addRow(grayButtons_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridBox);
    layout->addWidget(other);
    layout->addWidget(okCancel(this));
}

GridSettings DesignerOptionsDialog::grid() const
{
    return {showGrid_->isChecked(), alignGrid_->isChecked(), gridSize_->currentData().toInt()};
}

DesignerOptions DesignerOptionsDialog::options() const
{
    DesignerOptions o = base_;
    o.Units = units_->currentIndex();
    o.EditAfterInsert = editAfterInsert_->isChecked();
    o.DisableUndo = disableUndo_->isChecked();
    o.BandTitles = bandTitles_->isChecked();
    o.GrayButtons = !grayButtons_->isChecked();
    return o;
}

} // namespace pemvora::report
