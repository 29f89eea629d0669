#include "redrawpacer.h"

#include <algorithm>

namespace {

constexpr int kPlotMargins = 72;    // px of a plot's width that shows no time
constexpr int kNarrowestPlot = 100; // px

} // namespace

double RedrawPacer::SecondsPerPixel(double windowSeconds, int plotWidth)
{
    return windowSeconds / std::max(plotWidth - kPlotMargins, kNarrowestPlot);
}

int RedrawPacer::Interval(double secondsPerPixel)
{
    return std::clamp(static_cast<int>(2000 * secondsPerPixel), kFastestInterval, kSlowestInterval);
}

bool RedrawPacer::Due(uint64_t samples, double end, double secondsPerPixel)
{
    if (samples == drawnSamples_ || (drawnSamples_ != kNothingDrawn && end - drawnEnd_ < 2 * secondsPerPixel))
        return false;
    drawnSamples_ = samples;
    drawnEnd_ = end;
    return true;
}
