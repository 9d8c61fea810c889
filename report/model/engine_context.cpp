#include "report/model/engine_context.h"

namespace pemvora::report {

namespace {
EngineContext& instance()
{
    static EngineContext context;
    return context;
}
} // namespace

EngineContext& engine() { return instance(); }

void resetEngine() { instance() = EngineContext{}; }

} // namespace pemvora::report
