// When the live scope redraws. The picture moves a pixel in a window's
// length over the plot's width: a 60 s window a pixel in 70 ms, a 2 s window
// in 2 ms. A redraw waits until the picture has moved by two pixels, and the
// redraw timer wakes no more often than that either, but at most 20 times a
// second.
#pragma once

#include <cstdint>

class RedrawPacer {
public:
    static constexpr int kFastestInterval = 50;  // ms: at most 20 redraws a second
    static constexpr int kSlowestInterval = 250; // ms

    // Seconds of a `windowSeconds` window per pixel of a plot `plotWidth`
    // pixels wide, its margins left out.
    static double SecondsPerPixel(double windowSeconds, int plotWidth);
    // The redraw timer's interval for that, in ms.
    static int Interval(double secondsPerPixel);

    // Whether to draw now the picture of `samples` samples taken in all (the
    // dropped ones too), the newest taken at `end` seconds; if so, it counts
    // as drawn.
    bool Due(uint64_t samples, double end, double secondsPerPixel);
    // The next picture is drawn however little it moved: a new window
    // length, another tab, back to live.
    void DrawNext() { drawnSamples_ = kNothingDrawn; }

private:
    static constexpr uint64_t kNothingDrawn = ~uint64_t(0);

    uint64_t drawnSamples_ = kNothingDrawn;
    double drawnEnd_ = 0; // the newest sample drawn, s
};
