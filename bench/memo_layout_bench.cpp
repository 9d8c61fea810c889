// A text object measured and drawn into the recording canvas, per call: a
// ten-line wrapped Chinese memo, as a cheque's payee and purpose fields are.
// Measuring breaks the text at design resolution; drawing lays it out again
// at device scale, so both halves of the layout are in the figure.

#include "platform/text/gbk.h"
#include "report/canvas/fontmap.h"
#include "report/canvas/recording_canvas.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace pemvora;
using namespace pemvora::report;

// Ten lines of about fourteen characters in a box 14 characters wide.
void setUpMemo(TfrMemoView& memo)
{
    memo.Font.Name = text::utf8ToGbk("宋体");
    memo.PlaceAt(20, 30, 14 * 13 + 4, 160);
    memo.Memo = {text::utf8ToGbk("用途：支付北京市某某科技有限公司二零零八年第一季度技术服务费用，"
                                 "合同编号ＨＴ２００８０３０５，含税金额人民币壹拾贰万零叁拾肆元伍角陆分整；"
                                 "另付设备维护费、差旅费及资料费共计人民币叁仟伍佰元整，"
                                 "请于五个工作日内转入收款人开户银行账户，逾期按合同约定处理，特此说明，谢谢合作。")};
}

void BM_MeasureAndDrawWrappedChineseMemo(benchmark::State& state)
{
    engine().Running = 1;
    TfrMemoView memo;
    setUpMemo(memo);
    RecordingCanvas canvas;
    std::size_t lines = 0;
    for (auto _ : state) {
        memo.WorkLines = memo.Memo;
        memo.PreWrapped = false;
        {
            DeviceGeometry device(memo);
            lines = memo.WrapText().size();
        }
        canvas.clear();
        memo.Paint(canvas);
        benchmark::DoNotOptimize(canvas.records().size());
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_MeasureAndDrawWrappedChineseMemo)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    loadFontConfiguration();
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    resetEngine();
    return 0;
}
