// pemvora-cli prepare FILE -o OUT.frp [NAME=VALUE ...] [--data NAME=FILE.csv ...]:
// loads a template, sets the variables, registers every CSV file as a data
// source of that name (bands name it in "DataSource", texts read its fields
// as [NAME.column]), prepares the report and saves the prepared pages. A run
// that fails prints its error text on stderr and exits with 1.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/expression_args.h"
#include "tools/pemvora-cli/template_session.h"

#include "report/data/csv_dataset.h"
#include "report/data/datasource.h"
#include "report/engine/prepare.h"
#include "report/engine/prepared_pages.h"

#include <memory>
#include <string>
#include <vector>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

// The data sources of the command line: CSV datasets behind data source components.
struct CsvSources {
    ComponentContainer owner{"pemvora-cli"};
    std::vector<std::unique_ptr<MemoryDataSet>> dataSets;
    std::vector<std::unique_ptr<TfrDBDataSet>> sources;

    void add(const std::string& argument)
    {
        const std::size_t eq = argument.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == argument.size())
            throw CLI::ValidationError("--data", "expected NAME=FILE.csv: " + argument);
        const std::string name = engineText(argument.substr(0, eq));
        if (owner.find(name)) throw CLI::ValidationError("--data", "the data source is named twice: " + argument);
        try {
            dataSets.push_back(LoadCsvFile(argument.substr(eq + 1), name + ".csv"));
        } catch (const DataError& e) {
            throw CommandFailure(text::gbkToUtf8(e.what()));
        }
        auto source = std::make_unique<TfrDBDataSet>(name);
        source->SetDataSet(dataSets.back().get());
        owner.add(source.get());
        sources.push_back(std::move(source));
    }
};

void run(const std::string& file, const std::string& out, const std::vector<std::string>& assignments,
         const std::vector<std::string>& data)
{
    ensureGuiSession();
    resetEngine();
    CsvSources csv;
    for (const std::string& d : data) csv.add(d);
    TfrReport report;
    loadTemplate(report, file, std::nullopt);
    setVariables(assignments);
    report.Owner = &csv.owner;

    const PrepareResult result = PrepareReportPages(report);
    if (result.Failed) throw CommandFailure(forTerminal(text::gbkToUtf8(result.ErrorText)));
    try {
        SavePreparedReport(report, gbkFileName(out));
    } catch (const std::exception& e) {
        throw CommandFailure(text::gbkToUtf8(e.what()));
    }
}

Registration prepare{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("prepare", "Prepare a report into a prepared-report file (.frp)");
    auto file = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    auto data = std::make_shared<std::vector<std::string>>();
    cmd->add_option("FILE", *file, "the template (.frf)")->required();
    cmd->add_option("-o,--output", *out, "the prepared report to write (.frp)")->required();
    cmd->add_option("NAME=VALUE", *assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->add_option("--data", *data, "NAME=FILE.csv: a CSV file (UTF-8, column names first) as data source NAME")
        ->allow_extra_args(false);
    cmd->callback([=] { run(*file, *out, *assignments, *data); });
}};

} // namespace
} // namespace pemvora::cli
