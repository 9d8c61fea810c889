// ApplyBandAlign: places an object within its band as its BandAlign says.

#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/pixel_limits.h"

#include <algorithm>

namespace pemvora::report {

namespace {

// The last band object of the page whose rectangle, edges included, holds the
// view's top-left corner.
const TfrBandView* findBandUnder(const TfrPage& page, const TfrView& view)
{
    const TfrBandView* found = nullptr;
    for (const auto& candidate : page.PageObjects) {
        const auto* band = dynamic_cast<const TfrBandView*>(candidate.get());
        if (!band) continue;
        if (view.Left >= band->Left && view.Left <= band->Left + band->Width && view.Top >= band->Top
            && view.Top <= band->Top + band->Height)
            found = band;
    }
    return found;
}

class Neighbours {
public:
    Neighbours(const TfrPage& page, const TfrView& self, const TfrBandRuntime* runningBand)
        : page_(page), self_(self), band_(runningBand) {}

    // The aligned-left object nearest to the left of this one on its line.
    const TfrView* left() const
    {
        const TfrView* best = nullptr;
        for (const TfrView* c : candidates(bandalign::Left))
            if (c->Left < self_.Left && (!best || c->Left > best->Left)) best = c;
        return best;
    }
    // The aligned-right object nearest to the right of this one on its line.
    const TfrView* right() const
    {
        const TfrView* best = nullptr;
        for (const TfrView* c : candidates(bandalign::Right))
            if (c->Left > self_.Left && (!best || c->Left < best->Left)) best = c;
        return best;
    }

private:
    std::vector<const TfrView*> candidates(int align) const
    {
        std::vector<const TfrView*> out;
        for (const auto& view : page_.PageObjects) {
            const TfrView* c = view.get();
            if (c == &self_ || c->BandAlign != align || dynamic_cast<const TfrBandView*>(c)) continue;
            if (onSameLine(*c)) out.push_back(c);
        }
        return out;
    }

    bool onSameLine(const TfrView& c) const
    {
        const bool inRealBand = band_ && c.RuntimeBand && !c.RuntimeBand->IsObjectHolder;
        if (!inRealBand) return c.Top == self_.Top;
        return c.Top == self_.Top - band_->Top || (band_->Stretched && c.Top == self_.Top);
    }

    const TfrPage& page_;
    const TfrView& self_;
    const TfrBandRuntime* band_;
};

} // namespace

// Positions and sizes read from a file may be any 32-bit values: sums are
// taken in 64 bits and held in range.
namespace {
long long ll(int v) { return v; }
int fit(long long v) { return pixels::clampToInt(v); }
} // namespace

void TfrView::ApplyBandAlign(Canvas* target)
{
    EngineContext& e = engine();
    canvas = target;
    e.CurrentView = this;
    if (!e.CurrentPage) return;

    const bool running = e.Running != 0;
    const TfrPage& page = running || !e.DesignerPage ? *e.CurrentPage : *e.DesignerPage;
    const TfrBandRuntime* currentBand = running ? e.CurrentBand : nullptr;
    const int L = page.LeftEdge();
    const int R = page.RightEdge();
    const Neighbours neighbours(page, *this, currentBand);

    switch (BandAlign) {
    case bandalign::Left:
        if (const TfrView* n = neighbours.left()) {
            Left = fit(ll(n->Left) + n->Width);
            // Past the right edge the object keeps no width, never a negative one.
            if (ll(n->Left) + n->Width > R) Width = std::max(0, fit(ll(R) - Left));
        } else {
            Left = L;
        }
        break;
    case bandalign::Right:
        if (const TfrView* n = neighbours.right()) Left = fit(ll(n->Left) - Width - 1);
        else Left = fit(ll(R) - Width);
        break;
    case bandalign::Center:
        Left = fit(L + (ll(R) - L - Width) / 2);
        break;
    case bandalign::Width:
        if (!running) {
            const TfrBandView* band = findBandUnder(page, *this);
            if (band && bandkind::isCross(band->BandKind())) {
                Left = band->Left;
                Width = band->Width;
            } else {
                Left = L;
                Width = fit(ll(R) - L);
            }
        } else if (!currentBand) {
            Left = L;
            Width = fit(ll(R) - L - 1);
        }
        break;
    case bandalign::Bottom:
    case bandalign::Top:
        if (!running) {
            if (const TfrBandView* band = findBandUnder(page, *this))
                Top = BandAlign == bandalign::Bottom ? fit(ll(band->Top) + band->Height - Height) : band->Top;
        }
        break;
    case bandalign::Rest: {
        const TfrView* l = neighbours.left();
        const TfrView* r = neighbours.right();
        Left = l ? fit(ll(l->Left) + l->Width) : L;
        Width = r ? fit(ll(r->Left) - Left) : fit(ll(R) - Left);
        break;
    }
    default:
        break;
    }
}

} // namespace pemvora::report
