#include "calllog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
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

void Keep(const Record& record)
{
    const bool failed = IsStatus(record.function) && record.result != 0;
    if (failed)
        ++state.failures;
    const Ring ring = record.inTimerTick && !failed ? Ring::Reads : Ring::Commands;
    RingStore& store = state.rings[static_cast<size_t>(ring)];
    if (store.count >= store.capacity && store.records[store.count % store.capacity].sequence >= state.first)
        ++state.dropped[static_cast<size_t>(ring)];
    Record& slot = store.records[store.count % store.capacity];
    slot = record;
    slot.sequence = state.total++;
    ++store.count;
}

} // namespace detail

namespace {

const detail::RingStore& StoreOf(Ring ring) { return state.rings[static_cast<size_t>(ring)]; }

// The position (calls ever put in) of the first call in `store` that is kept
// and numbered `sequence` or later.
uint64_t LowerBound(const detail::RingStore& store, uint64_t sequence)
{
    uint64_t low = store.count - std::min(store.count, store.capacity);
    uint64_t high = store.count;
    while (low < high) {
        const uint64_t middle = low + (high - low) / 2;
        if (store.records[middle % store.capacity].sequence < sequence)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

const Record& SlotAt(const detail::RingStore& store, uint64_t position)
{
    return store.records[position % store.capacity];
}

} // namespace

void Start(size_t commands, size_t reads)
{
    Stop();
    // Zeroed pages come from the system as they are first written: a ring
    // costs memory only as far as it has filled. A record is an aggregate, so
    // the zeroed block holds records.
    const size_t sizes[2] = {std::max<size_t>(commands, 1), std::max<size_t>(reads, 1)};
    for (size_t i = 0; i < 2; ++i) {
        state.rings[i].records = static_cast<Record*>(std::calloc(sizes[i], sizeof(Record)));
        if (!state.rings[i].records)
            throw std::bad_alloc();
        state.rings[i].capacity = sizes[i];
    }
    texts = std::make_unique<char[]>(kTextStore);
    state.start = std::chrono::steady_clock::now();
    state.startedAtMilliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
}

void Stop()
{
    for (detail::RingStore& store : state.rings)
        std::free(store.records);
    const int ticks = state.timerTicks;
    state = {};
    state.timerTicks = ticks;
    texts.reset();
    textTotal = 0;
}

bool Recording() { return state.rings[0].records != nullptr; }
uint64_t Total() { return state.total; }
uint64_t Failures() { return state.failures; }
uint64_t Dropped(Ring ring) { return state.dropped[static_cast<size_t>(ring)]; }
size_t Capacity(Ring ring) { return static_cast<size_t>(StoreOf(ring).capacity); }

size_t Kept(Ring ring)
{
    const detail::RingStore& store = StoreOf(ring);
    return store.records ? static_cast<size_t>(store.count - LowerBound(store, state.first)) : 0;
}

const Record* Oldest(Ring ring)
{
    const detail::RingStore& store = StoreOf(ring);
    if (!store.records)
        return nullptr;
    const uint64_t position = LowerBound(store, state.first);
    return position < store.count ? &SlotAt(store, position) : nullptr;
}

const Record* Newest(Ring ring) { return Kept(ring) > 0 ? &SlotAt(StoreOf(ring), StoreOf(ring).count - 1) : nullptr; }

void Clear()
{
    state.first = state.total;
    state.dropped[0] = state.dropped[1] = 0;
    state.failures = 0;
}

double SecondsNow()
{
    // Before the log starts (a test, a tool on its own) the clock still runs,
    // from its first reading.
    if (state.start == std::chrono::steady_clock::time_point())
        state.start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - state.start).count();
}

int64_t StartedAtMilliseconds() { return state.startedAtMilliseconds; }

std::vector<const Record*> CommandsBetween(double from, double to, size_t most)
{
    std::vector<const Record*> found;
    const detail::RingStore& store = StoreOf(Ring::Commands);
    if (!store.records)
        return found;
    const auto nanoseconds = static_cast<int64_t>(from * 1e9);
    uint64_t low = LowerBound(store, state.first), high = store.count;
    while (low < high) {
        const uint64_t middle = low + (high - low) / 2;
        if (SlotAt(store, middle).nanoseconds < nanoseconds)
            low = middle + 1;
        else
            high = middle;
    }
    for (uint64_t at = low; at < store.count && found.size() < most; ++at) {
        const Record& record = SlotAt(store, at);
        if (static_cast<double>(record.nanoseconds) / 1e9 > to)
            break;
        found.push_back(&record);
    }
    return found;
}

Ring RingOf(const Record& record) { return record.inTimerTick && !Failed(record) ? Ring::Reads : Ring::Commands; }

const Record* Find(uint64_t sequence)
{
    if (!Recording() || sequence < state.first)
        return nullptr;
    for (const detail::RingStore& store : state.rings) {
        const uint64_t position = LowerBound(store, sequence);
        if (position < store.count && SlotAt(store, position).sequence == sequence)
            return &SlotAt(store, position);
    }
    return nullptr;
}

Since::Since(uint64_t sequence)
{
    for (size_t i = 0; i < 2; ++i) {
        const detail::RingStore& store = state.rings[i];
        at_[i] = store.records ? LowerBound(store, std::max(sequence, state.first)) : 0;
        end_[i] = store.records ? store.count : 0;
    }
}

const Record* Since::Next()
{
    const Record* next[2] = {};
    for (size_t i = 0; i < 2; ++i)
        if (at_[i] < end_[i])
            next[i] = &SlotAt(state.rings[i], at_[i]);
    const size_t i = !next[0] ? 1 : !next[1] ? 0 : next[0]->sequence < next[1]->sequence ? 0 : 1;
    if (next[i])
        ++at_[i];
    return next[i];
}

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

bool AnswersStatus(const Record& record) { return InfoOf(record).status; }

bool Failed(const Record& record) { return InfoOf(record).status && record.result != 0; }

TimerTick::TimerTick() { ++state.timerTicks; }
TimerTick::~TimerTick() { --state.timerTicks; }

} // namespace cardlib::calllog
