#include "report/model/engine_context.h"

#include "report/canvas/painter_canvas.h"

namespace pemvora::report {

namespace {
EngineContext& instance()
{
    static EngineContext context;
    return context;
}
} // namespace

EngineContext& engine() { return instance(); }

Canvas& scratchCanvas()
{
    EngineContext& e = instance();
    if (!e.Scratch) e.Scratch = std::make_shared<ScratchCanvas>();
    return *e.Scratch;
}

void resetEngine() { instance() = EngineContext{}; }

} // namespace pemvora::report
