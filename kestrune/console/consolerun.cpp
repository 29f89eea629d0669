#include "consolerun.h"

#include <QFile>

#include <array>
#include <string>
#include <tuple>
#include <type_traits>

#include "cardlib/binding.h"
#include "cardlib/brevak.h"
#include "cardlib/traceformat.h"
#include "settings/motionlimits.h"
#include "settings/numbertext.h"
#include "settings/statuswords.h"

namespace console {

namespace {

using cardlib::Function;

// The release text's buffer (tvn_functions.h).
constexpr qsizetype kOutTextBytes = 1024;

template <typename T>
QString ValueText(T value)
{
    std::string text;
    cardlib::trace::AppendValue(text, value);
    return QString::fromStdString(text);
}

// The storage of one argument of C type T while the call is made.
template <typename T>
class Slot {
    using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
    static constexpr bool kPointer = std::is_pointer_v<T>;
    static constexpr bool kOut = kPointer && !std::is_const_v<std::remove_pointer_t<T>>;
    static constexpr bool kText = kPointer && std::is_same_v<Pointee, char>;

public:
    void Load(const Argument& argument)
    {
        null_ = std::holds_alternative<Null>(argument);
        if constexpr (kText && kOut) {
            storage_ = QByteArray(kOutTextBytes, '\0');
        } else if constexpr (kText) {
            if (const auto* text = std::get_if<QString>(&argument))
                storage_ = QFile::encodeName(*text); // a path, as the system names files
        } else if constexpr (kPointer && !kOut) {
            using Pair = std::conditional_t<std::is_integral_v<Pointee>, std::array<int64_t, 2>, std::array<double, 2>>;
            if (const auto* pair = std::get_if<Pair>(&argument))
                storage_ = {static_cast<Pointee>((*pair)[0]), static_cast<Pointee>((*pair)[1])};
        } else if constexpr (!kPointer) {
            using Value = std::conditional_t<std::is_integral_v<T>, int64_t, double>;
            if (const auto* value = std::get_if<Value>(&argument))
                storage_ = static_cast<T>(*value);
        }
    }

    T Pass()
    {
        if constexpr (kPointer)
            return null_ ? nullptr : storage_.data();
        else
            return storage_;
    }

    void Show(Outcome& outcome, const Parameter& parameter)
    {
        if constexpr (kOut) {
            QString value = QStringLiteral("NULL");
            if (!null_) {
                if constexpr (kText) {
                    storage_[kOutTextBytes - 1] = '\0';
                    std::string text;
                    cardlib::trace::AppendText(text, storage_.constData());
                    value = QFile::decodeName(QByteArray::fromStdString(text));
                } else {
                    value = ValueText(storage_[0]);
                }
            }
            outcome.outs.emplace_back(QString::fromUtf8(parameter.name), value);
        }
    }

private:
    // The value, the pair (an out value in its first place), or the text.
    std::conditional_t<kText, QByteArray, std::conditional_t<kPointer, std::array<Pointee, 2>, T>> storage_{};
    bool null_ = false;
};

template <typename R>
QString ResultText(R result, bool status)
{
    if constexpr (std::is_integral_v<R>) {
        if (status)
            return CurrentStatusWords().Text(static_cast<int64_t>(result));
        // Status and flag words are taken apart bit by bit.
        if constexpr (std::is_unsigned_v<R>)
            return QStringLiteral("%1（0x%2）").arg(ValueText(result), HexText(static_cast<uint32_t>(result)));
    }
    return ValueText(result);
}

const Argument& ArgumentAt(const Call& call, size_t i)
{
    static const Argument none;
    return i < call.arguments.size() ? call.arguments[i] : none;
}

template <typename F>
struct Invoker;
template <typename R, typename... A>
struct Invoker<R(A...)> {
    template <R (*Fn)(A...)>
    static Outcome Make(const Call& call)
    {
        return With<Fn>(call, std::index_sequence_for<A...>{});
    }

    template <R (*Fn)(A...), size_t... I>
    static Outcome With([[maybe_unused]] const Call& call, std::index_sequence<I...>)
    {
        const CardFunction& function = CardFunctionOf(call.function);
        std::tuple<Slot<A>...> held;
        (std::get<I>(held).Load(ArgumentAt(call, I)), ...);
        const R result = Fn(std::get<I>(held).Pass()...);
        Outcome outcome;
        outcome.result = ResultText(result, function.answersStatus);
        if constexpr (std::is_integral_v<R>)
            outcome.failed = function.answersStatus && result != 0;
        (std::get<I>(held).Show(outcome, function.parameters[I]), ...);
        return outcome;
    }
};

// Each function of the list, made through its namesake in the binding.
using Maker = Outcome (*)(const Call&);
constexpr Maker kMakers[] = {
#define TVN_FUNCTION(result, name, params, answer) &Invoker<result params>::template Make<&cardlib::name>,
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION
};

int64_t IntegerAt(const Call& call, size_t i)
{
    const auto* value = std::get_if<int64_t>(&ArgumentAt(call, i));
    return value ? *value : 0;
}

double RealAt(const Call& call, size_t i)
{
    const auto* value = std::get_if<double>(&ArgumentAt(call, i));
    return value ? *value : 0;
}

QString ParameterName(const Call& call, size_t i)
{
    return QString::fromUtf8(CardFunctionOf(call.function).parameters[i].name);
}

QString ForeignAxes(const Call& call, int16_t card, std::initializer_list<int64_t> axes)
{
    for (const int64_t axis : axes)
        if (!IsWindowAxis(card, static_cast<int>(axis)))
            return QStringLiteral("轴 %1 不是窗口轴：控制台与运动窗口一样，只让所用控制卡（第 %2 张）的窗口轴 %3 和 %4 "
                                  "运动，%5 未执行。")
                .arg(axis)
                .arg(card)
                .arg(brevak::WindowAxis(card, 0))
                .arg(brevak::WindowAxis(card, 1))
                .arg(QString::fromLatin1(CardFunctionOf(call.function).name));
    return {};
}

QString SpeedsOutOfRange(const Call& call, std::initializer_list<size_t> places)
{
    for (const size_t i : places)
        if (!SpeedInRange(RealAt(call, i)))
            return QStringLiteral("%1 %2 超出范围：速度应在 %3 到 %4 之间，与运动窗口相同。调用未执行。")
                .arg(ParameterName(call, i), ValueText(RealAt(call, i)))
                .arg(-kFastestSpeed, 0, 'f', 0)
                .arg(kFastestSpeed, 0, 'f', 0);
    return {};
}

// tvn_set_st_profile: the S-curve time of each end against its ramp.
QString SCurvesTooLong(const Call& call)
{
    for (const size_t ramp : {size_t(3), size_t(4)})
        if (!SCurveFits(RealAt(call, ramp), RealAt(call, ramp + 2)))
            return QStringLiteral("%1 %2 大于%3 %4 的一半：S段时间应该小于或等于总加速时间的一半，与运动窗口相同。"
                                  "调用未执行。")
                .arg(ParameterName(call, ramp + 2), ValueText(RealAt(call, ramp + 2)), ParameterName(call, ramp),
                     ValueText(RealAt(call, ramp)));
    return {};
}

QString ArcAxes(const Call& call, int16_t card)
{
    // NULL axes move nothing: the card answers that.
    const auto* axes = std::get_if<std::array<int64_t, 2>>(&ArgumentAt(call, 0));
    return axes ? ForeignAxes(call, card, {(*axes)[0], (*axes)[1]}) : QString();
}

} // namespace

QString Refusal(const Call& call, int16_t card)
{
    switch (call.function) {
    case Function::tvn_board_init:
        return QStringLiteral(
            "控制台不调用 tvn_board_init：控制卡在程序启动时已经初始化，再次初始化会打断各窗口对它的使用。");
    case Function::tvn_board_close:
        return QStringLiteral("控制台不调用 tvn_board_close：关闭控制卡会使程序的各窗口失去控制卡。"
                              "控制卡在主窗口关闭时关闭。");
    case Function::tvn_download_firmware:
        return QStringLiteral("控制台不调用 tvn_download_firmware：下载完成前调用不返回，其间程序不响应，"
                              "Esc 也不能停止运动。请用 Flashmend 下载固件。");
    case Function::tvn_t_pmove:
    case Function::tvn_s_pmove:
    case Function::tvn_t_vmove:
    case Function::tvn_home_move: return ForeignAxes(call, card, {IntegerAt(call, 0)});
    case Function::tvn_change_speed: {
        const QString axis = ForeignAxes(call, card, {IntegerAt(call, 0)});
        return axis.isEmpty() ? SpeedsOutOfRange(call, {1}) : axis;
    }
    case Function::tvn_t_line2: return ForeignAxes(call, card, {IntegerAt(call, 0), IntegerAt(call, 2)});
    case Function::tvn_arc_move:
    case Function::tvn_rel_arc_move:
    case Function::tvn_arc_move_unitmm:
    case Function::tvn_rel_arc_move_unitmm: return ArcAxes(call, card);
    case Function::tvn_start_move_all: {
        // The moves waiting to start are those of the window axes' card.
        const int owner = brevak::CardOfAxis(brevak::WindowAxis(card, 0));
        if (IntegerAt(call, 0) == owner)
            return {};
        return QStringLiteral(
                   "控制台只启动窗口轴 %1 和 %2 所在的第 %3 张卡上等待的运动，tvn_start_move_all(%4) 未执行。")
            .arg(brevak::WindowAxis(card, 0))
            .arg(brevak::WindowAxis(card, 1))
            .arg(owner)
            .arg(IntegerAt(call, 0));
    }
    case Function::tvn_set_profile: return SpeedsOutOfRange(call, {1, 2});
    case Function::tvn_set_st_profile: {
        const QString speeds = SpeedsOutOfRange(call, {1, 2});
        return speeds.isEmpty() ? SCurvesTooLong(call) : speeds;
    }
    case Function::tvn_set_vector_profile: return SpeedsOutOfRange(call, {0, 1});
    default: return {};
    }
}

Outcome Make(const Call& call) { return kMakers[static_cast<size_t>(call.function)](call); }

Outcome Run(const Call& call, int16_t card)
{
    if (QString why = Refusal(call, card); !why.isEmpty()) {
        Outcome outcome;
        outcome.refusal = std::move(why);
        return outcome;
    }
    // A stop always stops: one that cannot ramp stops at once.
    if (call.function == Function::tvn_decel_stop) {
        const StopRamp ramp = CheckStopRamp(RealAt(call, 1));
        if (ramp != StopRamp::Usable) {
            Outcome outcome = Make({Function::tvn_imd_stop, {ArgumentAt(call, 0)}});
            outcome.note = QStringLiteral("减速时间 %1 %2，改为立即停止：tvn_imd_stop(%3)")
                               .arg(ValueText(RealAt(call, 1)),
                                    ramp == StopRamp::TooLong
                                        ? QStringLiteral("超过 %1 秒，不能用于减速停止").arg(kLongestStopRamp)
                                        : QStringLiteral("不能用于减速停止"))
                               .arg(IntegerAt(call, 0));
            return outcome;
        }
    }
    return Make(call);
}

QStringList StopWindowAxes(int16_t card)
{
    QStringList lines;
    for (int slot = 0; slot < 2; ++slot) {
        const int16_t axis = brevak::WindowAxis(card, slot);
        const int16_t status = cardlib::tvn_decel_stop(axis, kStopRamp);
        QString line = QStringLiteral("tvn_decel_stop(%1, %2) = %3")
                           .arg(axis)
                           .arg(ValueText(kStopRamp), CurrentStatusWords().Text(status));
        if (status != 0)
            line += QStringLiteral("，改为立即停止：tvn_imd_stop(%1) = %2")
                        .arg(axis)
                        .arg(CurrentStatusWords().Text(cardlib::tvn_imd_stop(axis)));
        lines << line;
    }
    return lines;
}

} // namespace console
