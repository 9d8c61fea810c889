#pragma once
// The report's side of its dictionary while the dictionary is read from a
// file: the lookup of data sets (to drop hidden aliases of fields that are
// gone) and the global evaluator.

#include "report/data/dictionary.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

namespace pemvora::report {

class ReportDictionaryHost : public DictionaryHost {
public:
    explicit ReportDictionaryHost(const TfrReport& report) : report_(report) {}
    const ComponentContainer* owner() const override { return report_.Owner; }
    const ComponentContainer* application() const override { return engine().Application; }
    IDataSet* defaultDataSet() const override { return nullptr; }
    const TfrVariables& globalVariables() const override { return engine().Variables; }
    Value evaluate(std::string_view expression) override
    {
        ExpressionEvaluator* evaluator = engine().Evaluator;
        if (!evaluator) throw NoEvaluator();
        return evaluator->Evaluate(expression);
    }

private:
    const TfrReport& report_;
};

} // namespace pemvora::report
