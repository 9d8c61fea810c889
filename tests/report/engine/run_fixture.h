#pragma once
// What the band engine tests share: a report built in code on the virtual
// printer, with a band area of known size, band views and text objects placed
// by their design coordinates, data sources held by the report's window, and
// the prepared pages read back as "name top text" lines.

#include "report/data/datasource.h"
#include "report/data/memorydataset.h"
#include "report/engine/prepare.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pemvora::report::enginetest {

// One printed object as a test compares it.
struct Printed {
    std::string name;
    int left = 0, top = 0;
    std::string text;   // the printed lines joined by "|", marks removed
};

class RunFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngine();
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        engine().CurrentReport = &report;
        report.Owner = &window;
        report.TemplateFileName = "/reports/list.frf";
        page = &report.Pages[report.Pages.Add()];
        setBandArea(*page, kTop, kBottom);
    }
    void TearDown() override { resetEngine(); }

    // The band area of a page runs from y = top to y = bottom, x from 20 to 520.
    static void setBandArea(TfrPage& p, int top, int bottom)
    {
        const TfrPageMetrics& m = p.Paper.metrics;
        p.Margins = {20, top, m.PaperWidth - 520, m.PaperHeight - bottom};
    }

    TfrBandView& band(int kind, int top, int height, const std::string& name, TfrPage* on = nullptr)
    {
        auto& b = (on ? *on : *page).Add<TfrBandView>();
        b.SetBandKind(kind);
        b.Name = name;
        b.Flags = 0;
        b.PlaceAt(0, top, 500, height);
        return b;
    }
    // A text object without frame or wrapping, 10 pt: n lines need 15 n + 2 pixels.
    TfrMemoView& text(const std::string& name, int left, int top, StringList lines, TfrPage* on = nullptr)
    {
        auto& m = (on ? *on : *page).Add<TfrMemoView>();
        m.Name = name;
        m.PlaceAt(left, top, 100, 17);
        m.Memo = std::move(lines);
        m.Flags = 0;
        m.DisplayFormat = 0;
        return m;
    }
    // A dataset of the report's window, behind a data source component of that name.
    MemoryDataSet& data(const std::string& name, std::vector<FieldInfo> fields, std::vector<std::vector<Value>> rows)
    {
        dataSets.push_back(std::make_unique<MemoryDataSet>(name + "Set", std::move(fields)));
        for (auto& row : rows) dataSets.back()->appendRow(std::move(row));
        auto source = std::make_unique<TfrDBDataSet>(name);
        source->SetDataSet(dataSets.back().get());
        window.add(source.get());
        sources.push_back(std::move(source));
        return *dataSets.back();
    }
    // A data source of the window that counts its records by events.
    TfrUserDataset& userData(const std::string& name)
    {
        userSources.push_back(std::make_unique<TfrUserDataset>(name));
        window.add(userSources.back().get());
        return *userSources.back();
    }

    PrepareResult prepare(RunControl control = {})
    {
        control.ReportName = "frReport1";
        return PrepareReportPages(report, control);
    }
    int pageCount() { return PreparedPages(report).Count(); }

    std::vector<Printed> printed(int pageIndex)
    {
        std::vector<Printed> out;
        for (const auto& v : ReadPreparedObjects(PreparedPages(report).Page(pageIndex).Stream.data())) {
            std::string joined;
            for (std::string line : v->Memo) {
                std::erase(line, kEndOfParagraph);
                if (!joined.empty()) joined += "|";
                joined += line;
            }
            out.push_back({v->Name, v->Left, v->Top, joined});
        }
        return out;
    }
    // "text@top" of every object of a page, in print order.
    std::vector<std::string> layout(int pageIndex)
    {
        std::vector<std::string> out;
        for (const Printed& p : printed(pageIndex)) out.push_back(p.text + "@" + std::to_string(p.top));
        return out;
    }
    // The printed texts of every page, in print order.
    std::vector<std::vector<std::string>> texts()
    {
        std::vector<std::vector<std::string>> out;
        for (int i = 0; i < pageCount(); ++i) {
            out.emplace_back();
            for (const Printed& p : printed(i)) out.back().push_back(p.text);
        }
        return out;
    }

    static constexpr int kTop = 10;
    static constexpr int kBottom = 210;

    ComponentContainer window{"Form1"};
    std::vector<std::unique_ptr<MemoryDataSet>> dataSets;
    std::vector<std::unique_ptr<TfrDBDataSet>> sources;
    std::vector<std::unique_ptr<TfrUserDataset>> userSources;
    TfrReport report;
    TfrPage* page = nullptr;
};

} // namespace pemvora::report::enginetest
