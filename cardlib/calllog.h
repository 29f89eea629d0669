// The call log: every call made through the run-time binding, recorded as it
// passes (function, arguments, the values out arguments received, result,
// time, whether a window's timer tick made it) into bounded rings.
//
// Recording costs a few stores per call: the rings and the text store are made
// once, when the log starts, nothing is allocated and nothing is formatted on
// the calling path. Text is made only when a record is shown or saved. The
// calls come from the program's user-interface thread, and so do the readers.
#pragma once

#include <bit>
#include <chrono>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "tvn_call.h"

namespace cardlib {

// Each card function, by its place in the one list.
enum class Function : uint16_t {
#define TVN_FUNCTION(result, name, params, answer) name,
#include "tvn_functions.h"
#undef TVN_FUNCTION
    Count
};

namespace calllog {

// One call, as it was made: arguments in the list's order, an array taking
// two slots; integers as themselves, floating-point values by their bits,
// texts by their place in the log's text store.
struct Record {
    int64_t nanoseconds = 0; // since the log started
    uint64_t sequence = 0;   // the call's number since the log started
    Function function{};
    bool inTimerTick = false;
    uint8_t nullArguments = 0; // bit i: pointer argument i was null
    int64_t values[7] = {};
    int64_t result = 0;
};

// The log keeps two rings. A window's timer reads the card thousands of
// times a second, the user commands it a few times a minute: the reads go
// to a ring of their own, so that they never push a command out. Commands
// are the calls made outside a timer tick, and every failed call, a read's
// included.
enum class Ring : uint8_t { Commands, Reads };
constexpr size_t kCommandsKept = 100000;
constexpr size_t kReadsKept = 200000;

// Starts recording into rings of the newest `commands` and `reads` calls; a
// running log starts afresh. Stop() ends recording and frees the rings.
void Start(size_t commands = kCommandsKept, size_t reads = kReadsKept);
void Stop();
bool Recording();

// Calls recorded since Start(), those no longer kept included: the next
// call's sequence number.
uint64_t Total();
// Calls kept, and how many a ring holds at most.
size_t Kept(Ring ring);
size_t Capacity(Ring ring);
// The oldest and newest call a ring keeps, or null.
const Record* Oldest(Ring ring);
const Record* Newest(Ring ring);
// Calls a ring's size made it drop since Start() or Clear().
uint64_t Dropped(Ring ring);
// Calls whose status said failure since Start() or Clear().
uint64_t Failures();
// Forgets every call recorded so far (recording goes on).
void Clear();

// The program's one time base: seconds since the log started (the program's
// start), which the call log and the scope both count from; and the wall
// clock's time then, in milliseconds since 1970.
double SecondsNow();
int64_t StartedAtMilliseconds();
// The kept commands made from `from` to `to` seconds, oldest first, at most
// `most` of them.
std::vector<const Record*> CommandsBetween(double from, double to, size_t most);

// The ring a call is kept in.
Ring RingOf(const Record& record);
// The kept call of sequence number `sequence`, or null.
const Record* Find(uint64_t sequence);

// The kept calls from sequence number `sequence` on, both rings in the order
// they were made.
class Since {
public:
    explicit Since(uint64_t sequence);
    // The next call, or null after the newest.
    const Record* Next();

private:
    uint64_t at_[2];
    uint64_t end_[2];
};

// What a record says, as the stand-in's trace writes it.
const char* Name(const Record& record);
std::string Arguments(const Record& record); // "0, 400, 2000, 0.1, 0.1"
std::string Result(const Record& record);    // "0"
std::string Line(const Record& record);      // "tvn_set_profile(0, 400, …) = 0"
double Milliseconds(const Record& record);
// The function answers with a status (0 for success), not a value.
bool AnswersStatus(const Record& record);
// The result is a status, and not 0.
bool Failed(const Record& record);

// Marks the calls of a window's periodic refresh: while one exists, every
// recorded call is a timer tick's. A refresh routine makes one at its start.
class TimerTick {
public:
    TimerTick();
    ~TimerTick();
    TimerTick(const TimerTick&) = delete;
    TimerTick& operator=(const TimerTick&) = delete;
};

namespace detail {

struct RingStore {
    Record* records = nullptr;
    uint64_t capacity = 0;
    uint64_t count = 0; // calls ever put in
};

struct State {
    RingStore rings[2];
    uint64_t total = 0;
    uint64_t first = 0; // calls before it were cleared
    uint64_t dropped[2] = {};
    uint64_t failures = 0;
    int timerTicks = 0;
    std::chrono::steady_clock::time_point start;
    int64_t startedAtMilliseconds = 0;
};
extern State state;

// Copies a text into the text store; its place and length, packed.
int64_t StoreText(const char* text);
// Numbers a finished call and puts it in its ring.
void Keep(const Record& record);
bool IsStatus(Function function);

template <typename T>
constexpr bool IsArray =
    std::conjunction_v<std::is_pointer<T>, std::is_const<std::remove_pointer_t<T>>,
                       std::negation<std::is_same<std::remove_cv_t<std::remove_pointer_t<T>>, char>>>;

template <typename T>
int64_t Bits(T value)
{
    if constexpr (std::is_floating_point_v<T>)
        return std::bit_cast<int64_t>(static_cast<double>(value));
    else
        return static_cast<int64_t>(value);
}

template <typename T>
void StoreInput(Record& r, int& slot, int index, T value)
{
    if constexpr (std::is_same_v<T, const char*>) {
        if (value)
            r.values[slot] = StoreText(value);
        else
            r.nullArguments |= static_cast<uint8_t>(1u << index);
    } else if constexpr (IsArray<T>) {
        // The card's arrays are pairs of axes, positions or centres.
        if (value) {
            r.values[slot] = Bits(value[0]);
            r.values[slot + 1] = Bits(value[1]);
        } else {
            r.nullArguments |= static_cast<uint8_t>(1u << index);
        }
    } else if constexpr (!std::is_pointer_v<T>) {
        r.values[slot] = Bits(value);
    }
    slot += IsArray<T> ? 2 : 1;
}

// Out arguments hold what the call stored in them.
template <typename T>
void StoreOutput(Record& r, int& slot, int index, T value)
{
    if constexpr (std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>>) {
        if (!value)
            r.nullArguments |= static_cast<uint8_t>(1u << index);
        else if constexpr (std::is_same_v<T, char*>)
            r.values[slot] = StoreText(value);
        else
            r.values[slot] = Bits(*value);
    }
    slot += IsArray<T> ? 2 : 1;
}

} // namespace detail

// Makes the call `fn(args…)` of `F`, recording it while the log runs.
template <Function F, typename R, typename... A>
R Call(R(TVN_CALL* fn)(A...), A... args)
{
    if (!detail::state.rings[0].records)
        return fn(args...);
    Record r;
    r.nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - detail::state.start)
            .count();
    r.function = F;
    r.inTimerTick = detail::state.timerTicks > 0;
    [[maybe_unused]] int slot = 0, index = 0;
    (detail::StoreInput(r, slot, index++, args), ...);
    const R result = fn(args...);
    slot = 0, index = 0;
    (detail::StoreOutput(r, slot, index++, args), ...);
    r.result = detail::Bits(result);
    detail::Keep(r);
    return result;
}

} // namespace calllog
} // namespace cardlib
