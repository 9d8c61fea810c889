#include "report/engine/print_dialog_widgets.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/model/report.h"
#include "report/printer/printing_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <vector>

namespace pemvora::report {

namespace {

// The sheets as they come out of the printer: two sets of 1, 2, 3 when
// collated, each page twice in a row otherwise. Each stack fans out so that
// the number in the corner of every sheet shows.
QPixmap collationPicture(bool collated)
{
    const std::vector<std::vector<int>> stacks =
        collated ? std::vector<std::vector<int>>{{1, 2, 3}, {1, 2, 3}} : std::vector<std::vector<int>>{{1, 1}, {2, 2}, {3, 3}};
    QPixmap picture(130, 40);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    int x = 2;
    for (const std::vector<int>& stack : stacks) {
        for (int k = int(stack.size()) - 1; k >= 0; --k) {
            const QRect sheet(x + k * 7, 2 + k * 5, 20, 26);
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(sheet);
            p.drawText(sheet.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(stack[std::size_t(k)]));
        }
        x += collated ? 60 : 42;
    }
    return picture;
}

} // namespace

TfrPrintForm::TfrPrintForm(TfrReport& report, int currentPage, QWidget* parent)
    : QDialog(parent), currentPage_(currentPage), printerAtOpen_(printing().printer().PrinterIndex)
{
    setObjectName(QStringLiteral("TfrPrintForm"));
    setWindowTitle(QStringLiteral("Print"));

    // Printer
    auto* printerBox = new QGroupBox(QStringLiteral("Printer"), this);
    printers_ = new QComboBox(printerBox);
    const QIcon icon = QIcon::fromTheme(QStringLiteral("printer"));
    const TfrPrinter& printer = printing().printer();
    for (const std::string& name : printer.PrinterNames) printers_->addItem(icon, text::toQString(name));
    printers_->setCurrentIndex(printer.PrinterIndex);
    auto* properties = new QPushButton(QStringLiteral("Properties"), printerBox);
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"), printerBox);
    nameLabel->setBuddy(printers_);
    auto* printerRow = new QHBoxLayout(printerBox);
    printerRow->addWidget(nameLabel);
    printerRow->addWidget(printers_, 1);
    printerRow->addWidget(properties);
    connect(printers_, qOverload<int>(&QComboBox::activated), this, &TfrPrintForm::printerChosen);
    connect(properties, &QPushButton::clicked, this, [] { printing().printer().ShowPropertiesDialog(); });

    // Page range
    auto* rangeBox = new QGroupBox(QStringLiteral("Page range"), this);
    all_ = new QRadioButton(QStringLiteral("&All"), rangeBox);
    current_ = new QRadioButton(QStringLiteral("Current pa&ge"), rangeBox);
    range_ = new QRadioButton(QStringLiteral("&Pages:"), rangeBox);
    rangeEdit_ = new QLineEdit(rangeBox);
    auto* hint = new QLabel(
        QStringLiteral("Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"), rangeBox);
    hint->setWordWrap(true);
    all_->setChecked(true);
    auto* rangeLayout = new QGridLayout(rangeBox);
    rangeLayout->addWidget(all_, 0, 0, 1, 2);
    rangeLayout->addWidget(current_, 1, 0, 1, 2);
    rangeLayout->addWidget(range_, 2, 0);
    rangeLayout->addWidget(rangeEdit_, 2, 1);
    rangeLayout->addWidget(hint, 3, 0, 1, 2);
    connect(range_, &QRadioButton::clicked, rangeEdit_, [this] { rangeEdit_->setFocus(); });
    rangeEdit_->installEventFilter(this);

    // Copies
    auto* copiesBox = new QGroupBox(QStringLiteral("Copies"), this);
    copies_ = new QSpinBox(copiesBox);
    copies_->setRange(1, 9999);
    copies_->setValue(std::max(1, report.DefaultCopies));
    collate_ = new QCheckBox(QStringLiteral("Co&llate"), copiesBox);
    collate_->setChecked(report.DefaultCollate);
    collationPicture_ = new QLabel(copiesBox);
    auto* copiesLabel = new QLabel(QStringLiteral("Number of &copies:"), copiesBox);
    copiesLabel->setBuddy(copies_);
    auto* copiesLayout = new QGridLayout(copiesBox);
    copiesLayout->addWidget(copiesLabel, 0, 0);
    copiesLayout->addWidget(copies_, 0, 1);
    copiesLayout->addWidget(collationPicture_, 1, 0);
    copiesLayout->addWidget(collate_, 1, 1);
    connect(collate_, &QCheckBox::toggled, this, &TfrPrintForm::showCollation);
    showCollation();

    // Print
    printPages_ = new QComboBox(this);
    printPages_->addItems({QStringLiteral("All pages"), QStringLiteral("Odd pages"), QStringLiteral("Even pages")});
    auto* printLabel = new QLabel(QStringLiteral("P&rint"), this);
    printLabel->setBuddy(printPages_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* middle = new QHBoxLayout;
    middle->addWidget(rangeBox, 1);
    middle->addWidget(copiesBox);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(printLabel);
    bottom->addWidget(printPages_);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

PrintChoice TfrPrintForm::Choice() const
{
    PrintChoice c;
    if (current_->isChecked()) c.Pages = std::to_string(currentPage_);
    else if (range_->isChecked()) c.Pages = rangeEdit_->text().toStdString();
    c.Copies = copies_->value();
    c.Collate = collate_->isChecked();
    c.PrintPagesMode = printPages_->currentIndex();
    return c;
}

void TfrPrintForm::done(int result)
{
    if (result != QDialog::Accepted && printing().printer().PrinterIndex != printerAtOpen_) {
        try {
            printing().printer().SelectPrinter(printerAtOpen_);
        } catch (const PrinterError&) {
            // The printer is gone since; the one chosen stays.
        }
    }
    QDialog::done(result);
}

bool TfrPrintForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rangeEdit_ && event->type() == QEvent::FocusIn) range_->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

void TfrPrintForm::printerChosen(int index)
{
    TfrPrinter& printer = printing().printer();
    try {
        printer.SelectPrinter(index);
    } catch (const PrinterError& e) {
        ui::services().message(e.what(), "Error", ui::Icon::Error);
        printers_->setCurrentIndex(printer.PrinterIndex);
    }
}

void TfrPrintForm::showCollation() { collationPicture_->setPixmap(collationPicture(collate_->isChecked())); }

std::optional<PrintChoice> QtPrintDialog::Run(TfrReport& report, int currentPage)
{
    TfrPrintForm form(report, currentPage, parent_);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.Choice();
}

} // namespace pemvora::report
