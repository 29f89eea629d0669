#include "motioncommands.h"

#include <QStringList>

#include <cmath>
#include <limits>
#include <vector>

#include "cardlib/binding.h"
#include "cardlib/brevak.h"
#include "common/message.h"
#include "common/usertext.h"
#include "settings/motionlimits.h"
#include "settings/numbertext.h"
#include "settings/state.h"

using brevak::WindowAxis;

namespace {

constexpr int32_t kSpeedStep = 100;

void Message(const char* text) { ShowMessage(QString::fromUtf8(text)); }

// Reads the window into `p`; false (after the message) when a field fails.
bool Read(const MotionFields& fields, MotionParameterSet& p)
{
    const ReadResult result = ReadMotionParameters(fields, p);
    if (result.error)
        ShowMessage(*result.error);
    return !result.error;
}

void SetProfile(int16_t card, const MotionParameterSet& p, int t)
{
    cardlib::tvn_set_profile(WindowAxis(card, t), p.StartSpeed[t], p.DriveSpeed[t], p.AccelTime[t], p.AccelTime[t]);
}

void Home(int16_t card, MotionParameterSet& p)
{
    for (int t = 0; t < 2; ++t) {
        p.DriveSpeed[t] = std::abs(p.DriveSpeed[t]);
        if (p.AxisSelected[t] != 1)
            continue;
        SetProfile(card, p, t);
        cardlib::tvn_home_move(WindowAxis(card, t), p.Direction[t] == 0 ? 1 : 2, HomeSpeedMode[static_cast<size_t>(t)]);
    }
}

void Continuous(int16_t card, const MotionParameterSet& p)
{
    for (int t = 0; t < 2; ++t) {
        if (p.AxisSelected[t] != 1)
            continue;
        SetProfile(card, p, t);
        cardlib::tvn_t_vmove(WindowAxis(card, t), static_cast<int16_t>(1 - p.Direction[t]));
    }
}

void Fixed(int16_t card, MotionParameterSet& p)
{
    for (int t = 0; t < 2; ++t) {
        if (p.Direction[t] == 1)
            p.EndPosition[t] = -p.EndPosition[t];
        if (p.AxisSelected[t] != 1)
            continue;
        if (p.CurveMode == 0) {
            SetProfile(card, p, t);
            cardlib::tvn_t_pmove(WindowAxis(card, t), p.EndPosition[t], p.PositionMode);
            continue;
        }
        if (!SCurveFits(p.AccelTime[t], p.SCurveTime[t])) {
            // An axis this command already started keeps moving.
            ShowMessage(QStringLiteral("第%1轴的S段时间应该小于或等于总加速时间的一半，请重新设置！").arg(t));
            return;
        }
        cardlib::tvn_set_st_profile(WindowAxis(card, t), p.StartSpeed[t], p.DriveSpeed[t], p.AccelTime[t],
                                    p.AccelTime[t], p.SCurveTime[t], p.SCurveTime[t]);
        cardlib::tvn_s_pmove(WindowAxis(card, t), p.EndPosition[t], p.PositionMode);
    }
}

std::vector<int> CheckedSlots(const MotionParameterSet& p)
{
    std::vector<int> chosen;
    for (int t = 0; t < 2; ++t)
        if (p.AxisSelected[t] == 1)
            chosen.push_back(t);
    return chosen;
}

void SetVectorProfile(const MotionParameterSet& p)
{
    cardlib::tvn_set_vector_profile(p.InterpStartSpeed, p.InterpDriveSpeed, p.InterpAccelTime, p.InterpAccelTime);
}

void Linear(int16_t card, const MotionParameterSet& p)
{
    const std::vector<int> chosen = CheckedSlots(p);
    if (chosen.size() != 2) {
        Message("请选择2个轴进行线性插补！");
        return;
    }
    if (p.CurveMode == 1)
        return; // no S-curve interpolation: nothing to do, nothing to say
    SetVectorProfile(p);
    cardlib::tvn_t_line2(WindowAxis(card, chosen[0]), p.LineEndPosition[chosen[0]], WindowAxis(card, chosen[1]),
                         p.LineEndPosition[chosen[1]], p.PositionMode);
}

void Arc(int16_t card, const MotionParameterSet& p, bool unitIsPulse)
{
    const std::vector<int> chosen = CheckedSlots(p);
    if (chosen.size() != 2) {
        Message("请选择2个轴进行圆弧插补！");
        return;
    }
    const int16_t axes[2] = {WindowAxis(card, chosen[0]), WindowAxis(card, chosen[1])};
    const int32_t end[2] = {p.ArcEndPosition[chosen[0]], p.ArcEndPosition[chosen[1]]};
    const int32_t centre[2] = {p.ArcCenterPosition[chosen[0]], p.ArcCenterPosition[chosen[1]]};
    const double endMm[2] = {double(end[0]), double(end[1])};
    const double centreMm[2] = {double(centre[0]), double(centre[1])};
    SetVectorProfile(p);
    const bool relative = p.PositionMode == 0;
    if (unitIsPulse)
        (relative ? cardlib::tvn_rel_arc_move : cardlib::tvn_arc_move)(axes, end, centre, p.ArcDirection);
    else
        (relative ? cardlib::tvn_rel_arc_move_unitmm : cardlib::tvn_arc_move_unitmm)(axes, endMm, centreMm,
                                                                                     p.ArcDirection);
}

} // namespace

void StartMotion(int16_t card, const MotionFields& fields, MotionParameterSet& p, bool unitIsPulse)
{
    if (!Read(fields, p))
        return;
    const int first = p.AxisSelected[0] == 1 ? 0 : (p.AxisSelected[1] == 1 ? 1 : -1);
    if (first < 0) {
        Message("请选择运动轴号！");
        return;
    }
    // Only the first selected slot's speeds are made positive; the range of
    // the fields is symmetric, so this always fits.
    p.StartSpeed[first] = std::abs(p.StartSpeed[first]);
    p.DriveSpeed[first] = std::abs(p.DriveSpeed[first]);
    switch (p.MotionMode) {
    case MotionFields::Home: Home(card, p); break;
    case MotionFields::Continuous: Continuous(card, p); break;
    case MotionFields::Fixed: Fixed(card, p); break;
    case MotionFields::Linear: Linear(card, p); break;
    default: Arc(card, p, unitIsPulse); break;
    }
}

void StopMotion(int16_t card, const MotionFields& fields, MotionParameterSet& p)
{
    // A stop always stops. It is not refused over a typing error in a field
    // it does not need: what can be read is taken. An axis whose deceleration
    // time cannot be read, is negative or not finite, or whose decelerating
    // stop the card refuses, is stopped at once, and the message says so.
    const ReadResult read = ReadMotionParameters(fields, p, true);
    QStringList reasons;
    for (int t = 0; t < 2; ++t) {
        if (p.AxisSelected[t] != 1)
            continue;
        const int16_t axis = WindowAxis(card, t);
        if (p.StopMode != 0) {
            cardlib::tvn_imd_stop(axis);
            continue;
        }
        const double time = p.AccelTime[t];
        const QString typed = QuoteUserText(Abbreviated(fields.accelTime[t]));
        if (!read.accelTimeRead[t]) {
            reasons << (IsNumberText(fields.accelTime[t])
                            ? QStringLiteral("第%1轴的总加速时间“%2”超出范围。").arg(t).arg(typed)
                            : QStringLiteral("第%1轴的总加速时间“%2”不是有效的数字。").arg(t).arg(typed));
        } else if (CheckStopRamp(time) == StopRamp::Unusable) {
            reasons << QStringLiteral("第%1轴的总加速时间“%2”不能用于减速停止。").arg(t).arg(typed);
        } else if (CheckStopRamp(time) == StopRamp::TooLong) {
            reasons << QStringLiteral("第%1轴的总加速时间“%2”超过 %3 秒，不能用于减速停止。")
                           .arg(t)
                           .arg(typed)
                           .arg(kLongestStopRamp);
        } else if (const int16_t status = cardlib::tvn_decel_stop(axis, time); status != 0) {
            reasons << QStringLiteral("控制卡拒绝了第%1轴的减速停止（返回 %2）。").arg(t).arg(status);
        } else {
            continue;
        }
        cardlib::tvn_imd_stop(axis);
        reasons.back() += QStringLiteral("该轴已立即停止。");
    }
    if (!reasons.isEmpty())
        ShowMessage(reasons.join(QLatin1Char('\n')));
}

void RaiseDriveSpeed(int16_t card, MotionParameterSet& p, const std::array<bool, 4>& checked)
{
    for (int t = 0; t < 2; ++t) {
        if (p.DriveSpeed[t] > std::numeric_limits<int32_t>::max() - kSpeedStep) {
            ShowMessage(QStringLiteral("第%1轴的驱动速度已经到达最大").arg(t));
            return;
        }
    }
    for (int t = 0; t < 2; ++t) {
        p.DriveSpeed[t] += kSpeedStep;
        if (checked[t])
            cardlib::tvn_change_speed(WindowAxis(card, t), p.DriveSpeed[t]);
    }
}

void LowerDriveSpeed(int16_t card, MotionParameterSet& p, const std::array<bool, 4>& checked)
{
    for (int t = 0; t < 2; ++t) {
        if (!checked[t])
            continue;
        if (p.DriveSpeed[t] < std::numeric_limits<int32_t>::min() + kSpeedStep) {
            Message("速度设置已经到达最小");
            return;
        }
        p.DriveSpeed[t] -= kSpeedStep;
        if (p.DriveSpeed[t] <= 0) {
            Message("速度设置已经到达最小");
            return;
        }
        cardlib::tvn_change_speed(WindowAxis(card, t), p.DriveSpeed[t]);
    }
}

void ClearPositions(int16_t card, const std::array<bool, 4>& checked)
{
    for (int t = 0; t < 2; ++t) {
        if (!checked[t])
            continue;
        cardlib::tvn_set_position(WindowAxis(card, t), 0);
        cardlib::tvn_set_encoder(WindowAxis(card, t), 0);
    }
}

// Library axes 0 and 1 themselves, whatever card is in use: this engineering
// button drives the first card's terminal board.
void SynchronisedStart()
{
    for (int16_t a = 0; a < 2; ++a) {
        cardlib::tvn_config_CSTA_PIN(a, 0);
        cardlib::tvn_set_sync_option(a, 1, 0, 1, 0);
        cardlib::tvn_set_sync_stop_mode(a, 0);
    }
    cardlib::tvn_start_move_all(0);
}

void SimultaneousStop() { cardlib::tvn_simultaneous_stop(0); }

void InterpolationTest(const MotionFields& fields, MotionParameterSet& p)
{
    const auto int32 = [](double value) -> std::optional<int32_t> {
        const double rounded = RoundHalfEven(value);
        if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
            return std::nullopt;
        return static_cast<int32_t>(rounded);
    };
    const auto start = int32(LeadingValue(fields.interpStartSpeed));
    const auto drive = int32(LeadingValue(fields.interpDriveSpeed));
    const double accel = LeadingValue(fields.interpAccelTime);
    if (!start || !drive || !std::isfinite(accel)) {
        Message("插补速度参数超出范围，请重新输入！");
        return;
    }
    p.InterpStartSpeed = *start;
    p.InterpDriveSpeed = *drive;
    p.InterpAccelTime = accel;
    p.PositionMode = 0;
    SetVectorProfile(p);
    // Library axes 4 and 5 themselves: the test is wired to the second card.
    cardlib::tvn_t_line2(4, 2000, 5, 5000, 0);
}
