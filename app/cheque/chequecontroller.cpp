#include "app/cheque/chequecontroller.h"

#include "app/capitals/capitals.h"
#include "app/templates/chequeform.h"
#include "app/templates/templatechoice.h"
#include "platform/value/numbertext.h"

#include <fmt/format.h>

#include <algorithm>
#include <ctime>
#include <optional>

namespace pemvora::app {

using data::Dataset;
namespace text = chequetext;

DateTime currentDateTime()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return encodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                          {local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0});
}

namespace {

// An id column read as an integer; a column without a value means "no reference".
std::optional<int> readId(const Value& v)
{
    if (v.isEmptyOrNull()) return std::nullopt;
    return v.toInt32();
}

} // namespace

ChequeController::ChequeController(ui::UiServices& ui, std::function<DateTime()> now)
    : ui_(ui), now_(now ? std::move(now) : std::function<DateTime()>(currentDateTime))
{
    // Creation: the hidden grid takes the amount box's value (nothing yet) and
    // the capital date shows today.
    hiddenAmount_ = 0;
    const DateTime today = now_();
    sj_ = DateToCapitals(today);
    year_ = YearToCapitals(today);
    month_ = MonthToCapitals(today);
    day_ = DayToCapitals(today);
}

ChequeController::~ChequeController()
{
    if (data_) data_->ZPJE.removeListener(this);
}

void ChequeController::attachData(data::TData& data)
{
    if (data_) data_->ZPJE.removeListener(this);
    data_ = &data;
    data_->ZPJE.addListener(this);
}

template <typename F> bool ChequeController::guarded(F&& step)
{
    // Database and conversion errors go to the error box and end the step.
    try {
        return step();
    } catch (const data::DatabaseError& e) {
        ui_.error(e.what());
    } catch (const ConversionError& e) {
        ui_.error(e.what());
    }
    notifyTexts();
    return false;
}

void ChequeController::notifyTexts()
{
    if (view_) view_->textsChanged();
}

// ---- Showing ----

void ChequeController::show()
{
    if (!data_) return;
    guarded([this] {
        bankItems_.clear();
        accountItems_.clear();
        purposeItems_.clear();
        // The lists are read from where the queries stand: on their first row
        // after the data module opened them.
        Dataset& banks = data_->BANCK;
        banks.open();
        while (!banks.eof()) {
            bankItems_.push_back(banks.text(0));
            accountItems_.push_back(banks.text(1));
            banks.next();
        }
        Dataset& purposes = data_->ZPYT;
        while (!purposes.eof()) {
            purposeItems_.push_back(purposes.text(0));
            purposes.next();
        }
        if (view_) view_->listsChanged();
        data_->ZPJE.open();
        data_->ZPJE.last();
        showReferences();
        return true;
    });
}

void ChequeController::navigate(Move move)
{
    if (!data_ || adding_) return;
    guarded([&] {
        Dataset& z = data_->ZPJE;
        switch (move) {
        case Move::First: z.first(); break;
        case Move::Prior: z.prior(); break;
        case Move::Next: z.next(); break;
        case Move::Last: z.last(); break;
        }
        showReferences();
        return true;
    });
}

void ChequeController::showReferences()
{
    Dataset& z = data_->ZPJE;
    // The ids are read before any box is set, so a bad id changes nothing.
    const std::optional<int> bankId = readId(z.value("yh_h"));
    const std::optional<int> purposeId = readId(z.value("yt_h"));
    const std::optional<int> payeeId = readId(z.value("dw_h"));

    const Value lb = z.value("lb");
    czplx_ = (!lb.isEmptyOrNull() && lb.toNumber() == 1) ? text::kCash : text::kTransfer;

    if (!purposeId) cyt_.clear();
    else if (data_->ZPYT.locate("ytdh", Value(*purposeId))) cyt_ = data_->ZPYT.text("ytmc");

    if (!bankId) {
        cyh_.clear();
        czh_.clear();
    } else {
        if (data_->BANCK.locate("bank_dh", Value(*bankId))) cyh_ = data_->BANCK.text("bank_name");
        // The account of the row BANCK stands on, found or not.
        czh_ = data_->BANCK.text("bank_zh");
    }

    if (!payeeId) cdw_.clear();
    else if (data_->addw.locate("dw_dh", Value(*payeeId))) cdw_ = data_->addw.text("skdw");
    notifyTexts();
}

// ---- Bound boxes ----

double ChequeController::amount() const
{
    if (!data_ || !data_->ZPJE.isOpen()) return 0;
    const Value v = data_->ZPJE.value("ZPJE");
    if (v.isEmptyOrNull()) return 0;
    try {
        return v.toNumber();
    } catch (const ConversionError&) {
        return 0;
    }
}

Value ChequeController::field(const char* column) const
{
    if (!data_ || !data_->ZPJE.isOpen()) return Value::null();
    return data_->ZPJE.value(column);
}

std::string ChequeController::chequeNumber() const
{
    if (!data_ || !data_->ZPJE.isOpen()) return {};
    return data_->ZPJE.text("zphm");
}

void ChequeController::recordChanged(Dataset&)
{
    amountChanged();
    dateChanged();
    notifyTexts();
}

void ChequeController::fieldChanged(Dataset& dataset, int column)
{
    if (column == dataset.fieldIndex("ZPJE")) amountChanged();
    else if (column == dataset.fieldIndex("date")) dateChanged();
    notifyTexts();   // the bound boxes follow every column
}

void ChequeController::datasetDestroyed(Dataset&)
{
    data_ = nullptr;
}

void ChequeController::amountChanged()
{
    const double value = amount();
    hiddenAmount_ = value;
    if (value == 0) return;   // the capital amount keeps its text
    try {
        cdx_ = AmountToCapitals(formatNumber(value));
    } catch (const CapitalsError& e) {
        ui_.error(e.what());   // cdx keeps what it showed
    }
}

void ChequeController::dateChanged()
{
    if (!data_ || !data_->ZPJE.isOpen()) return;
    const Value v = data_->ZPJE.value("date");
    std::optional<DateTime> date;
    if (!v.isEmptyOrNull()) {
        try {
            date = v.toDateTime();
        } catch (const ConversionError&) {
        }
    }
    if (!date) {
        // No date in the box: no capital date either.
        sj_.clear();
        year_.clear();
        month_.clear();
        day_.clear();
        return;
    }
    sj_ = DateToCapitals(*date);
    year_ = YearToCapitals(*date);
    month_ = MonthToCapitals(*date);
    day_ = DayToCapitals(*date);
}

void ChequeController::editChequeRow()
{
    data_->ZPJE.edit();
}

void ChequeController::amountTyped(std::optional<double> value)
{
    if (!data_) return;
    guarded([&] {
        editChequeRow();
        data_->ZPJE.setValue("ZPJE", value ? Value(*value) : Value::null());
        return true;
    });
}

void ChequeController::dateTyped(DateTime value)
{
    if (!data_) return;
    guarded([&] {
        editChequeRow();
        data_->ZPJE.setValue("date", Value(value));
        return true;
    });
}

void ChequeController::chequeNumberTyped(const std::string& number)
{
    if (!data_) return;
    guarded([&] {
        editChequeRow();
        data_->ZPJE.setValue("zphm", number.empty() ? Value::null() : Value(number));
        return true;
    });
}

// ---- Unbound boxes ----

void ChequeController::typeTyped(const std::string& t)
{
    czplx_ = t;
}

void ChequeController::linkBankToAccount()
{
    if (!data_) return;
    guarded([this] {
        if (data_->BANCK.locate("bank_name", Value(cyh_))) czh_ = data_->BANCK.text("bank_zh");
        return true;
    });
}

void ChequeController::bankTyped(const std::string& t)
{
    cyh_ = t;
    linkBankToAccount();
    notifyTexts();
}

void ChequeController::purposeTyped(const std::string& t)
{
    // The purpose box shares the bank box's handler: it re-fills the account.
    cyt_ = t;
    linkBankToAccount();
    notifyTexts();
}

void ChequeController::accountTyped(const std::string& t)
{
    czh_ = t;
    if (data_) {
        guarded([this] {
            if (data_->BANCK.locate("bank_zh", Value(czh_))) cyh_ = data_->BANCK.text("bank_name");
            return true;
        });
    }
    notifyTexts();
}

void ChequeController::payeeTyped(const std::string& t)
{
    cdw_ = t;
}

void ChequeController::setPayee(const std::string& t)
{
    cdw_ = t;
    notifyTexts();
}

// ---- New cheque, save, print ----

void ChequeController::setAdding(bool adding)
{
    adding_ = adding;
    if (view_) view_->enablingChanged();
}

void ChequeController::newCheque()
{
    if (!data_ || adding_) return;
    guarded([this] {
        const DateTime now = now_();
        Dataset& z = data_->ZPJE;
        z.edit();
        z.append();
        cdx_.clear();
        cyh_.clear();
        czh_.clear();
        cyt_.clear();
        cdw_.clear();
        z.setValue("date", Value(now));
        setAdding(true);
        notifyTexts();
        return true;
    });
}

bool ChequeController::refuse(const std::string& message)
{
    ui_.message(message, text::kMessageCaption, ui::Icon::Information, ui::Buttons::Ok);
    notifyTexts();
    return false;
}

bool ChequeController::datasave()
{
    if (!data_) return false;
    return guarded([this] {
        Dataset& z = data_->ZPJE;
        z.edit();
        if (czplx_.empty()) return refuse(text::kTypeRequired);
        z.setValue("lb", Value(czplx_ == text::kCash ? 1 : 2));

        if (cyt_.empty()) return refuse(text::kPurposeRequired);
        if (data_->ZPYT.locate("ytmc", Value(cyt_))) z.setValue("yt_h", data_->ZPYT.value("ytdh"));

        if (cyh_.empty()) return refuse(text::kBankRequired);
        if (data_->BANCK.locate("bank_name", Value(cyh_)))
            z.setValue("yh_h", data_->BANCK.value("bank_dh"));

        if (amount() < 1) return refuse(text::kAmountRequired);
        // "￥" and ten digits fill the form's eleven boxes; more would print a void cheque.
        if (amount() >= kAmountBeyondForm) return refuse(text::kAmountTooLarge);

        if (cdw_.empty()) return refuse(text::kPayeeRequired);
        if (data_->addw.locate("skdw", Value(cdw_))) z.setValue("dw_h", data_->addw.value("dw_dh"));

        const std::string number = chequeNumber();
        if (number.empty()) return refuse(text::kNumberRequired);
        if (data_->chequeNumberStored(number)) return refuse(text::kNumberDuplicate);

        z.post();
        return true;
    });
}

bool ChequeController::save()
{
    if (!datasave()) return false;
    setAdding(false);
    return true;
}

bool ChequeController::showCheque(const std::string& number)
{
    if (!data_ || adding_) return false;
    return guarded([&] {
        if (!data_->ZPJE.locate("zphm", Value(number))) return false;
        showReferences();
        return true;
    });
}

// ---- Printing ----

std::vector<std::pair<std::string, std::string>> ChequeController::reportVariables() const
{
    return {
        {"dskyt", cyt_},
        {"dkhh", cyh_},
        {"dyhzh", czh_},
        {"dskdw", cdw_},
        {"dx", cdx_},
        {"year", year_},
        {"month", month_},
        {"day", day_},
        // The amount in fen for the form's digit boxes: 2045.67 gives ￥204567.
        {"mm", "￥" + formatNumber(hiddenAmount_ * 100)},
    };
}

void ChequeController::lookUpTemplateBank()
{
    if (data_->BANCK.locate("bank_name", Value(cyh_))) lastBankMb_ = data_->BANCK.text("bank_mb");
}

std::string ChequeController::templatePath(const std::string& fileName) const
{
    return (templateFolder_ / fileName).string();
}

void ChequeController::print()
{
    if (!data_) return;
    guarded([this] {
        if (!data_->chequeNumberStored(chequeNumber())) {
            if (!datasave()) return false;
            setAdding(false);
        } else if (amount() >= kAmountBeyondForm) {
            // Stored before amounts were checked against the form.
            return refuse(text::kAmountTooLarge);
        }
        if (!runner_) return true;
        return runTemplate();
    });
}

bool ChequeController::runTemplate()
{
    for (const auto& [name, value] : reportVariables()) runner_->SetVariable(name, value);
    lookUpTemplateBank();
    const std::optional<std::string> file = templateFileName(lastBankMb_, printFamily(czplx_, printMode_));
    if (!file) return refuse(text::kNoTemplateBank);
    // A missing file is not passed over: the template loaded before would
    // put this cheque on another bank's form.
    try {
        switch (runner_->LoadFromFile(templatePath(*file))) {
        case ReportRunner::Load::Loaded: break;
        case ReportRunner::Load::Missing: return refuse(fmt::format(text::kTemplateMissing, lastBankMb_, *file));
        case ReportRunner::Load::Failed: return false;
        }
        runner_->ShowReport();
    } catch (const std::exception& e) {
        ui_.error(e.what());
        return false;
    }
    return true;
}

void ChequeController::printModify()
{
    if (!runner_ || !runner_->CanDesign()) {
        refuse(text::kDesignerUnavailable);
        return;
    }
    if (!data_) return;
    guarded([this] {
        lookUpTemplateBank();
        const std::optional<TemplateFamily> family = designFamily(czplx_, printMode_);
        if (!family) return false;   // a type other than 现金 and 转帐 opens nothing
        const std::optional<std::string> file = templateFileName(lastBankMb_, *family);
        if (!file) return refuse(text::kNoTemplateBank);
        const std::string path = templatePath(*file);
        try {
            ReportRunner::Load loaded = runner_->LoadFromFile(path);
            if (loaded == ReportRunner::Load::Missing) {
                const ui::Answer make = ui_.question(fmt::format(text::kCreateTemplate, lastBankMb_, *file),
                                                     text::kMessageCaption);
                if (make != ui::Answer::Yes) return false;
                templates::writeTemplate(templates::referenceDescription(), *family, path);
                loaded = runner_->LoadFromFile(path);
            }
            if (loaded != ReportRunner::Load::Loaded) return false;
            runner_->DesignReport();
        } catch (const std::exception& e) {
            ui_.error(e.what());
            return false;
        }
        return true;
    });
}

void ChequeController::refreshPurposes(ListController& purposes)
{
    if (!purposes.settle()) return;
    Dataset& purposeCursor = purposes.cursor();
    guarded([&] {
        purposeItems_.clear();
        purposeCursor.first();
        while (!purposeCursor.eof()) {
            purposeItems_.push_back(purposeCursor.text(0));
            purposeCursor.next();
        }
        if (view_) view_->listsChanged();
        return true;
    });
}

} // namespace pemvora::app
