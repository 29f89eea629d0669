#include "calllog.h"

#include <cstring>
#include <memory>
#include <vector>

#include "traceformat.h"

namespace cardlib::calllog {

namespace detail {
State state;
} // namespace detail

namespace {

using detail::state;

// How an argument or result is kept and written.
enum class Kind : uint8_t { Int, Double, Float, IntPair, DoublePair, Text, OutInt, OutDouble, OutFloat, OutText };

template <typename T>
constexpr Kind KindOf()
{
    using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
    if constexpr (std::is_pointer_v<T>) {
        constexpr bool out = !std::is_const_v<std::remove_pointer_t<T>>;
        if constexpr (std::is_same_v<Pointee, char>)
            return out ? Kind::OutText : Kind::Text;
        else if constexpr (std::is_same_v<Pointee, float>)
            return Kind::OutFloat;
        else if constexpr (std::is_floating_point_v<Pointee>)
            return out ? Kind::OutDouble : Kind::DoublePair;
        else
            return out ? Kind::OutInt : Kind::IntPair;
    } else if constexpr (std::is_same_v<T, float>) {
        return Kind::Float;
    } else if constexpr (std::is_floating_point_v<T>) {
        return Kind::Double;
    } else {
        return Kind::Int;
    }
}

struct Info {
    const char* name;
    bool status;
    Kind result;
    int count;
    Kind params[7];
};

template <typename F>
struct Signature;

template <typename R, typename... A>
struct Signature<R(A...)> {
    static constexpr Info Make(const char* name, bool status)
    {
        return {name, status, KindOf<R>(), static_cast<int>(sizeof...(A)), {KindOf<A>()...}};
    }
};

#define TVN_ANSWER_STATUS true
#define TVN_ANSWER_VALUE false
constexpr Info kInfo[] = {
#define TVN_FUNCTION(result, name, params, answer) Signature<result params>::Make(#name, TVN_ANSWER_##answer),
#include "tvn_functions.h"
#undef TVN_FUNCTION
};

// Texts (a firmware path, a release text) live in a store of their own that
// wraps like the ring; a record whose text was written over shows "…".
constexpr size_t kTextStore = 64 * 1024;
constexpr size_t kLongestText = 1023;
std::unique_ptr<char[]> texts;
uint64_t textTotal = 0;

std::string TextAt(int64_t packed)
{
    const auto position = static_cast<uint64_t>(packed) >> 16;
    const auto length = static_cast<size_t>(packed & 0xFFFF);
    if (!texts || textTotal - position > kTextStore)
        return "…";
    std::string text(length, '\0');
    for (size_t i = 0; i < length; ++i)
        text[i] = texts[(position + i) % kTextStore];
    return text;
}

void AppendSlot(std::string& out, Kind kind, const int64_t* slot, bool null)
{
    const auto asDouble = [](int64_t bits) { return std::bit_cast<double>(bits); };
    switch (kind) {
    case Kind::Int: trace::AppendValue(out, slot[0]); return;
    case Kind::Double: trace::AppendFloat(out, asDouble(slot[0])); return;
    case Kind::Float: trace::AppendFloat(out, static_cast<float>(asDouble(slot[0]))); return;
    case Kind::IntPair:
    case Kind::DoublePair:
        if (null) {
            out += "NULL";
            return;
        }
        out += '[';
        AppendSlot(out, kind == Kind::IntPair ? Kind::Int : Kind::Double, slot, false);
        out += ", ";
        AppendSlot(out, kind == Kind::IntPair ? Kind::Int : Kind::Double, slot + 1, false);
        out += ']';
        return;
    case Kind::Text:
        if (null)
            out += "NULL";
        else
            trace::AppendText(out, TextAt(slot[0]).c_str());
        return;
    case Kind::OutInt:
    case Kind::OutDouble:
    case Kind::OutFloat:
    case Kind::OutText:
        out += '&';
        if (null) {
            out += "NULL";
            return;
        }
        AppendSlot(out,
                   kind == Kind::OutInt      ? Kind::Int
                   : kind == Kind::OutDouble ? Kind::Double
                   : kind == Kind::OutFloat  ? Kind::Float
                                             : Kind::Text,
                   slot, false);
        return;
    }
}

const Info& InfoOf(const Record& record) { return kInfo[static_cast<size_t>(record.function)]; }

} // namespace

namespace detail {

int64_t StoreText(const char* text)
{
    if (!texts)
        return 0;
    const size_t length = std::min(std::strlen(text), kLongestText);
    const uint64_t position = textTotal;
    for (size_t i = 0; i < length; ++i)
        texts[(position + i) % kTextStore] = text[i];
    textTotal += length;
    return static_cast<int64_t>((position << 16) | length);
}

bool IsStatus(Function function) { return kInfo[static_cast<size_t>(function)].status; }

} // namespace detail

void Start(size_t capacity)
{
    Stop();
    state.ring = new Record[capacity]();
    state.capacity = capacity;
    texts = std::make_unique<char[]>(kTextStore);
    state.start = std::chrono::steady_clock::now();
}

void Stop()
{
    delete[] state.ring;
    const int ticks = state.timerTicks;
    state = {};
    state.timerTicks = ticks;
    texts.reset();
    textTotal = 0;
}

bool Recording() { return state.ring != nullptr; }
uint64_t Total() { return state.total; }
uint64_t First() { return state.first; }
uint64_t Dropped() { return state.dropped; }
uint64_t Failures() { return state.failures; }

void Clear()
{
    state.first = state.total;
    state.dropped = 0;
    state.failures = 0;
}

const Record& At(uint64_t sequence) { return state.ring[sequence % state.capacity]; }

const char* Name(const Record& record) { return InfoOf(record).name; }

std::string Arguments(const Record& record)
{
    const Info& info = InfoOf(record);
    std::string text;
    int slot = 0;
    for (int i = 0; i < info.count; ++i) {
        if (i > 0)
            text += ", ";
        AppendSlot(text, info.params[i], record.values + slot, (record.nullArguments >> i) & 1u);
        slot += info.params[i] == Kind::IntPair || info.params[i] == Kind::DoublePair ? 2 : 1;
    }
    return text;
}

std::string Result(const Record& record)
{
    std::string text;
    AppendSlot(text, InfoOf(record).result, &record.result, false);
    return text;
}

std::string Line(const Record& record)
{
    return std::string(Name(record)) + '(' + Arguments(record) + ") = " + Result(record);
}

double Milliseconds(const Record& record) { return static_cast<double>(record.nanoseconds) / 1e6; }

bool Failed(const Record& record) { return InfoOf(record).status && record.result != 0; }

TimerTick::TimerTick() { ++state.timerTicks; }
TimerTick::~TimerTick() { --state.timerTicks; }

} // namespace cardlib::calllog
