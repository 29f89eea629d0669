// The scope's trigger: a capture of a fixed length around the moment a
// channel crosses a level, or a signal of the card goes active or inactive.
// The samples before the trigger come from the buffer, which holds minutes of
// history, so a capture has its pre-trigger part at once. Captures count time
// from the trigger.
#pragma once

#include <QString>

#include <vector>

#include "scopedata.h"

// What a trigger can watch: the eight channels, then for slots 0 and 1 their
// EL+, EL-, ORG, ALM and INP, then the card's EMG.
inline constexpr int kSignalsPerSlot = 5;
inline constexpr int kTriggerSources = kChannels + 2 * kSignalsPerSlot + 1;
QString TriggerSourceName(int source);
bool IsSignalSource(int source);
// The source's value in a sample: a channel's value, or 1 and 0 for a signal
// active or not.
double SourceValue(const Sample& sample, int source);

struct TriggerSettings {
    enum class Edge { Rising, Falling, Either };
    enum class Mode { Single, Normal, Auto };

    int source = 0;
    double level = 0; // ignored for a signal: its edge is going active (rising) or inactive
    Edge edge = Edge::Rising;
    double position = 0.2; // the share of the capture before the trigger, 0 to 1
    Mode mode = Mode::Single;
    double seconds = 10; // the capture's length

    double Before() const { return seconds * position; }
    double After() const { return seconds * (1 - position); }
};

class Trigger {
public:
    enum class State { Off, Armed, Triggered, Done };

    // Waits for the trigger from the next sample on. `historyFrom` is the time
    // of the oldest sample the buffer holds: a trigger counts only once the
    // capture's part before it is there.
    void Arm(const TriggerSettings& settings, double historyFrom);
    void Cancel() { state_ = State::Off; }
    // Takes the next sample; true when a capture is complete. In Auto, a
    // capture without a trigger completes after a capture's length: the
    // newest samples, as they are.
    bool Feed(const Sample& sample);

    // The complete capture, cut from `buffer`, its time 0 at the trigger.
    std::vector<Sample> Cut(const SampleSource& buffer) const;

    State Current() const { return state_; }
    const TriggerSettings& Settings() const { return settings_; }
    // The capture completed without a trigger (Auto).
    bool Forced() const { return forced_; }
    double TriggerTime() const { return at_; }

private:
    bool Crossed(const Sample& before, const Sample& now) const;

    TriggerSettings settings_;
    State state_ = State::Off;
    double historyFrom_ = 0;
    double armedAt_ = -1; // the first sample's time after arming
    bool havePrevious_ = false;
    Sample previous_;
    double at_ = 0;
    bool forced_ = false;
};
