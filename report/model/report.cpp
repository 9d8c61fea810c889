#include "report/model/report.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/printer/printing_context.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/unique_names.h"

#include <QDateTime>

#include <fmt/format.h>

namespace pemvora::report {

namespace {

DateTime now()
{
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime c = t.time();
    return encodeDateTime({d.year(), d.month(), d.day()}, {c.hour(), c.minute(), c.second(), c.msec()});
}

} // namespace

// ---------------------------------------------------------------- creation

std::unique_ptr<TfrView> CreateObject(int kindCode, std::string_view className)
{
    switch (kindCode) {
    case kind::Memo: return std::make_unique<TfrMemoView>();
    case kind::Picture: return std::make_unique<TfrPictureView>();
    case kind::Band: return std::make_unique<TfrBandView>();
    case kind::SubReport: return std::make_unique<TfrSubReportView>();
    case kind::Line: return std::make_unique<TfrLineView>();
    case kind::PlugIn: {
        EngineContext& e = engine();
        for (const PlugInClass& c : e.PlugIns) {
            if (c.ClassName != className) continue;
            std::unique_ptr<TfrView> view = c.Create();
            view->ObjectKind = kind::PlugIn;
            return view;
        }
        e.MissingClasses.emplace_back(className);
        throw EClassNotFound(fmt::format("Class {} not found", text::gbkToUtf8(className)));
    }
    default: return nullptr;
    }
}

bool RegisterPlugInClass(std::string className, std::function<std::unique_ptr<TfrView>()> create)
{
    EngineContext& e = engine();
    if (e.PlugIns.size() >= kMaxPlugInClasses) return false;
    e.PlugIns.push_back({std::move(className), std::move(create)});
    return true;
}

void TfrView::CreateUniqueName()
{
    UniqueNames names;
    if (const TfrReport* report = engine().CurrentReport)
        for (int i = 0; i < report->Pages.Count(); ++i)
            for (const auto& view : report->Pages.Items(i).PageObjects)
                if (view.get() != this) names.Take(view->Name);
    Name = names.Next(NamePrefix);
}

// ---------------------------------------------------------------- the report

TfrReport::TfrReport() : Created(now()), Modified(Created) {}

TfrReport::~TfrReport()
{
    EngineContext& e = engine();
    if (e.CurrentReport == this) e.CurrentReport = nullptr;
    if (e.RootReport == this) e.RootReport = nullptr;
}

void TfrReport::Clear()
{
    Pages.Clear();
    TwoPass = false;
    Information = {};
    Created = now();
    Modified = Created;
    PasswordProtected = false;
    ReportPassword.clear();
}

void TfrReport::SelectPrinterByName(std::string_view name)
{
    report::SelectPrinterByName(printing().printer(), Printer, name);
}

bool TfrReport::SwitchPrinter(int oldIndex, int newIndex,
                              const std::function<void(const std::string&, const std::string&)>& showError)
{
    std::vector<PagePaper*> papers;
    for (int i = 0; i < Pages.Count(); ++i) papers.push_back(&Pages.Items(i).Paper);
    return report::SwitchPrinter(printing().printer(), Printer, papers, oldIndex, newIndex, showError);
}

TfrView* TfrReport::FindObject(std::string_view name) const
{
    for (int i = 0; i < Pages.Count(); ++i)
        if (TfrView* view = Pages.Items(i).FindObject(name)) return view;
    return nullptr;
}

std::optional<PropertyTarget> TfrReport::ResolveProperty(std::string_view name)
{
    TfrView* current = engine().CurrentView;
    const std::size_t dot = text::find(name, ".");
    if (dot == std::string_view::npos) {
        if (!current) return std::nullopt;
        current->EnsureProperties();
        return PropertyTarget{current, std::string(name)};
    }
    const std::string_view objectPart = name.substr(0, dot);
    const std::string_view propertyPart = name.substr(dot + 1);

    if (objectPart.size() > 4 && text::equalsNoCase(objectPart.substr(0, 4), "PAGE")
        && objectPart[4] >= '0' && objectPart[4] <= '9') {
        const std::string_view number = objectPart.substr(4);
        const std::optional<std::int64_t> n = parseInteger(number);
        if (!n) throw ConversionError(fmt::format("'{}' is not a valid integer value", number));
        if (*n < 1 || *n > Pages.Count()) return std::nullopt;
        TfrPage& page = Pages.Items(static_cast<int>(*n - 1));
        page.EnsureProperties();
        return PropertyTarget{&page, std::string(propertyPart)};
    }
    if (TfrView* view = FindObject(objectPart)) {
        view->EnsureProperties();
        return PropertyTarget{view, std::string(propertyPart)};
    }
    if (current) {
        current->EnsureProperties();
        if (current->FindProperty(objectPart)) return PropertyTarget{current, std::string(name)};
    }
    return std::nullopt;
}

Value TfrReport::GetObjectProperty(std::string_view name)
{
    const std::optional<PropertyTarget> target = ResolveProperty(name);
    if (!target) return Value::null();
    return target->Object->GetProperty(target->Property);
}

void TfrReport::SetObjectProperty(std::string_view name, const Value& value)
{
    const std::optional<PropertyTarget> target = ResolveProperty(name);
    if (target) target->Object->SetProperty(target->Property, value);
}

} // namespace pemvora::report
