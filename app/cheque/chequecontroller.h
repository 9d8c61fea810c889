#pragma once
// ChequeController: everything the cheque window does, without a screen.
//
// The window TForm1 is a thin view over it. The boxes that are not bound to a
// column (cheque type, bank, account, purpose, payee, print mode) and the
// captions that the program computes (capital amount, capital date, capital
// year/month/day, the hidden amount) live here; the bound boxes (date,
// amount, cheque number, amount grid) edit the current row of TData::ZPJE and
// this class follows the row through a dataset listener.
//
// Texts set by the program never count as typing: the view shows them with
// its change signals blocked and calls the *Typed handlers only for input.

#include "app/cheque/reportrunner.h"
#include "app/data/tdata.h"
#include "app/lists/listcontroller.h"
#include "platform/ui/uiservices.h"
#include "platform/value/datetime.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pemvora::app {

namespace chequetext {
inline constexpr const char* kCash = "现金";
inline constexpr const char* kTransfer = "转帐";
inline constexpr const char* kMessageCaption = "提示";
inline constexpr const char* kTypeRequired = "请选择支票类型!";
inline constexpr const char* kPurposeRequired = "请选择支票用途!";
inline constexpr const char* kBankRequired = "请选择开户银行!";
inline constexpr const char* kAmountRequired = "请输入数字金额!";
inline constexpr const char* kPayeeRequired = "请输入收款单位!";
inline constexpr const char* kNumberRequired = "请输入支票号码!";
inline constexpr const char* kNumberDuplicate = "支票号码重复,请重新输入!";
// Printing. The eleven digit boxes of a cheque form hold "￥" and ten digits.
inline constexpr const char* kAmountTooLarge = "支票金额最多只能填写 99,999,999.99 元!";
inline constexpr const char* kNoTemplateBank = "该银行帐号未设置打印模板,请在“帐号设置”中选择打印模板!";
// {0}: the template bank, {1}: the file name.
inline constexpr const char* kTemplateMissing = "找不到{0}的支票模板文件“{1}”,未打印!";
inline constexpr const char* kCreateTemplate = "{0}的支票模板文件“{1}”不存在,是否按标准支票版式创建?";
inline constexpr const char* kDesignerUnavailable = "报表设计器暂不可用,无法修改打印模板!";
} // namespace chequetext

// The largest amount a cheque form takes; an amount from here on is refused.
inline constexpr double kAmountBeyondForm = 100000000.0;

class ChequeController : private data::DatasetListener {
public:
    // What the view shows of the controller; it re-reads the controller when told.
    class View {
    public:
        virtual ~View() = default;
        virtual void textsChanged() {}      // box texts and computed captions
        virtual void listsChanged() {}      // the item lists of cyh, czh, cyt
        virtual void enablingChanged() {}   // 增加, 保存 and the navigator
    };

    // The creation step: no data yet. The capital date shows `now()`.
    explicit ChequeController(ui::UiServices& ui, std::function<DateTime()> now = {});
    ~ChequeController() override;
    ChequeController(const ChequeController&) = delete;
    ChequeController& operator=(const ChequeController&) = delete;

    void setView(View* view) { view_ = view; }
    // The data module, once it exists; the controller follows its ZPJE query.
    void attachData(data::TData& data);
    data::TData* data() const { return data_; }

    // ---- The window's steps ----
    // Showing after login: fill the lists, go to the last cheque, show its references.
    void show();
    // The navigator: move ZPJE, then show the row's references.
    enum class Move { First, Prior, Next, Last };
    void navigate(Move move);
    // "增加": a new row dated now, the unbound boxes emptied, browsing disabled.
    void newCheque();
    // "保存": datasave; true when the cheque was stored (browsing enabled again).
    bool save();
    // Validates and posts the current cheque; false after a message or an error.
    bool datasave();
    // "打印": saves the cheque when its number is not stored yet (a stored one
    // is printed as shown, unsaved), sets the report variables, chooses the
    // template and shows it in the preview. Without a report component it
    // only saves.
    void print();
    // "打印修改": opens the template that "打印" would use in the designer; a
    // missing file is offered to be made from the reference cheque form first.
    void printModify();
    // Shows the stored cheque with that number, as the navigator would; false
    // when there is none.
    bool showCheque(const std::string& number);
    // After the purpose window closed: the purpose list from its own cursor,
    // whose pending row is settled (with its checks) before the cursor moves.
    void refreshPurposes(ListController& purposes);

    // ---- Input to the unbound boxes (typing or picking from the list) ----
    void typeTyped(const std::string& text);
    void bankTyped(const std::string& text);
    void accountTyped(const std::string& text);
    void purposeTyped(const std::string& text);
    void payeeTyped(const std::string& text);
    // The payee picker's choice (set by the program, as typing would).
    void setPayee(const std::string& text);
    void setPrintMode(int index) { printMode_ = index; }

    // ---- Printing ----
    // The report component `bbdy` (not owned); nullptr: there is none.
    void setReportRunner(ReportRunner* runner) { runner_ = runner; }
    // Where the template files are; empty: the current folder.
    void setTemplateFolder(std::filesystem::path folder) { templateFolder_ = std::move(folder); }
    // The template bank the last look-up found; it stays when a look-up finds nothing.
    const std::string& lastBankMb() const { return lastBankMb_; }
    // The nine report variables of a print, in the order they are set.
    std::vector<std::pair<std::string, std::string>> reportVariables() const;

    // ---- Input to the bound boxes, as the bound controls write it ----
    void amountTyped(std::optional<double> value);   // nothing: the box was emptied
    void dateTyped(DateTime value);
    void chequeNumberTyped(const std::string& text);

    // ---- What the window shows ----
    const std::string& chequeType() const { return czplx_; }   // czplx
    const std::string& bank() const { return cyh_; }           // cyh
    const std::string& account() const { return czh_; }        // czh
    const std::string& purpose() const { return cyt_; }        // cyt
    const std::string& payee() const { return cdw_; }          // cdw
    int printMode() const { return printMode_; }               // cms: 0 普通, 1 特殊
    const std::string& capitalAmount() const { return cdx_; }  // cdx
    const std::string& capitalDate() const { return sj_; }     // sj
    const std::string& capitalYear() const { return year_; }   // Label11
    const std::string& capitalMonth() const { return month_; } // Label12
    const std::string& capitalDay() const { return day_; }     // Label13
    double hiddenAmount() const { return hiddenAmount_; }      // sncCurrencyEdit1.Value
    const std::vector<std::string>& bankItems() const { return bankItems_; }
    const std::vector<std::string>& accountItems() const { return accountItems_; }
    const std::vector<std::string>& purposeItems() const { return purposeItems_; }
    bool adding() const { return adding_; }
    bool newEnabled() const { return !adding_; }        // 增加
    bool navigatorEnabled() const { return !adding_; }  // DBN1
    // The bound boxes' contents, read from the current ZPJE row.
    double amount() const;
    std::string chequeNumber() const;
    // A column of the current ZPJE row (Null without data or row).
    Value field(const char* column) const;

private:
    // DatasetListener on ZPJE: the bound boxes changed.
    void recordChanged(data::Dataset&) override;
    void fieldChanged(data::Dataset&, int column) override;
    void datasetDestroyed(data::Dataset&) override;

    void showReferences();
    void amountChanged();
    void dateChanged();
    void linkBankToAccount();   // serves the bank box and the purpose box
    void setAdding(bool adding);
    bool refuse(const std::string& message);
    void lookUpTemplateBank();
    bool runTemplate();
    std::string templatePath(const std::string& fileName) const;
    void editChequeRow();
    template <typename F> bool guarded(F&& step);
    void notifyTexts();

    ui::UiServices& ui_;
    std::function<DateTime()> now_;
    View* view_ = nullptr;
    data::TData* data_ = nullptr;

    std::string czplx_ = chequetext::kTransfer;
    std::string cyh_, czh_, cyt_, cdw_;
    int printMode_ = 0;
    std::string cdx_, sj_, year_, month_, day_;
    double hiddenAmount_ = 0;
    std::vector<std::string> bankItems_, accountItems_, purposeItems_;
    bool adding_ = false;
    ReportRunner* runner_ = nullptr;
    std::filesystem::path templateFolder_;
    std::string lastBankMb_;
};

// Today's local date and time as a DateTime.
DateTime currentDateTime();

} // namespace pemvora::app
