#include "trigger.h"

#include <algorithm>

namespace {

const char* const kSignalNames[kSignalsPerSlot] = {"EL+", "EL-", "ORG", "ALM", "INP"};

} // namespace

QString TriggerSourceName(int source)
{
    if (source < kChannels)
        return ChannelName(source);
    if (source == kTriggerSources - 1)
        return QStringLiteral("EMG");
    const int k = source - kChannels;
    return QStringLiteral("第%1轴 %2").arg(k / kSignalsPerSlot).arg(QLatin1String(kSignalNames[k % kSignalsPerSlot]));
}

bool IsSignalSource(int source) { return source >= kChannels; }

double SourceValue(const Sample& sample, int source)
{
    if (source < kChannels)
        return Value(sample, source);
    if (source == kTriggerSources - 1)
        return (sample.inputs[0] >> Sample::kEmergency) & 1u;
    const int k = source - kChannels;
    return (sample.inputs[static_cast<size_t>(k / kSignalsPerSlot)] >> (k % kSignalsPerSlot)) & 1u;
}

void Trigger::Arm(const TriggerSettings& settings, double historyFrom)
{
    settings_ = settings;
    settings_.position = std::clamp(settings_.position, 0.0, 1.0);
    state_ = State::Armed;
    historyFrom_ = historyFrom;
    armedAt_ = -1;
    havePrevious_ = false;
    forced_ = false;
}

bool Trigger::Crossed(const Sample& before, const Sample& now) const
{
    const double level = IsSignalSource(settings_.source) ? 0.5 : settings_.level;
    const double a = SourceValue(before, settings_.source), b = SourceValue(now, settings_.source);
    const bool rising = a < level && b >= level;
    const bool falling = a > level && b <= level;
    switch (settings_.edge) {
    case TriggerSettings::Edge::Rising: return rising;
    case TriggerSettings::Edge::Falling: return falling;
    case TriggerSettings::Edge::Either: return rising || falling;
    }
    return false;
}

bool Trigger::Feed(const Sample& sample)
{
    switch (state_) {
    case State::Off:
    case State::Done: return false;
    case State::Armed: {
        if (armedAt_ < 0)
            armedAt_ = sample.seconds;
        const bool historyThere = sample.seconds - settings_.Before() >= historyFrom_;
        const bool crossed = havePrevious_ && historyThere && Crossed(previous_, sample);
        previous_ = sample;
        havePrevious_ = true;
        if (crossed) {
            at_ = sample.seconds;
            state_ = State::Triggered;
        } else if (settings_.mode == TriggerSettings::Mode::Auto && sample.seconds - armedAt_ >= settings_.seconds) {
            // Nothing happened for a whole capture: show what there is.
            at_ = sample.seconds - settings_.After();
            forced_ = true;
            state_ = State::Done;
            return true;
        }
        if (state_ != State::Triggered || settings_.After() > 0)
            return false;
        state_ = State::Done;
        return true;
    }
    case State::Triggered:
        if (sample.seconds < at_ + settings_.After())
            return false;
        state_ = State::Done;
        return true;
    }
    return false;
}

std::vector<Sample> Trigger::Cut(const SampleSource& buffer) const
{
    const auto [begin, end] = SamplesBetween(buffer, at_ - settings_.Before(), at_ + settings_.After());
    std::vector<Sample> capture;
    capture.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
        Sample s = buffer.At(i);
        s.seconds -= at_;
        capture.push_back(s);
    }
    return capture;
}
