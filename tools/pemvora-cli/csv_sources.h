#pragma once
// The data sources of prepare and print: every --data NAME=FILE.csv becomes a
// CSV dataset behind a data source component of that name, held by one
// window-like owner that the report is put on.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/expression_args.h"

#include "platform/text/gbk.h"
#include "report/data/csv_dataset.h"
#include "report/data/datasource.h"

#include <memory>
#include <string>
#include <vector>

namespace pemvora::cli {

// The data sources of the command line: CSV datasets behind data source components.
struct CsvSources {
    report::ComponentContainer owner{"pemvora-cli"};
    std::vector<std::unique_ptr<report::MemoryDataSet>> dataSets;
    std::vector<std::unique_ptr<report::TfrDBDataSet>> sources;

    void add(const std::string& argument)
    {
        const std::size_t eq = argument.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == argument.size())
            throw CLI::ValidationError("--data", "expected NAME=FILE.csv: " + argument);
        const std::string name = engineText(argument.substr(0, eq));
        if (owner.find(name)) throw CLI::ValidationError("--data", "the data source is named twice: " + argument);
        try {
            dataSets.push_back(report::LoadCsvFile(argument.substr(eq + 1), name + ".csv"));
        } catch (const report::DataError& e) {
            throw CommandFailure(text::gbkToUtf8(e.what()));
        }
        auto source = std::make_unique<report::TfrDBDataSet>(name);
        source->SetDataSet(dataSets.back().get());
        owner.add(source.get());
        sources.push_back(std::move(source));
    }
};

} // namespace pemvora::cli
