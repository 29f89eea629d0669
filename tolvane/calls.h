// What happens around every entry point of the stand-in: scripted results,
// the trace file and the recorded calls. The card's behaviour is in card.cpp.
#pragma once

#include <cmath>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>

#include "cardlib/traceformat.h"

namespace tolvane {

// Held by every entry point: the card state is shared by every thread of the
// calling program.
std::recursive_mutex& CallMutex();

// The lock of the entry point running on this thread, or nullptr. A call
// that has to wait (the firmware download) waits on it, so that the other
// threads' calls, the dialog's progress polling among them, go on meanwhile.
std::unique_lock<std::recursive_mutex>* HeldCallLock();

// Makes `lock` this thread's HeldCallLock() for its lifetime.
class CallScope {
public:
    explicit CallScope(std::unique_lock<std::recursive_mutex>& lock);
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    std::unique_lock<std::recursive_mutex>* outer_;
};

// The next scripted result of `name`, if one is queued.
std::optional<double> TakeScripted(const char* name);

// True when calls are traced to a file or recorded for a test.
bool Logging();
void LogCall(const std::string& line);

// Drops the recorded calls and every queued result (control::Reset).
void ForgetCalls();

using cardlib::trace::AppendFloat;
using cardlib::trace::AppendText;
using cardlib::trace::AppendValue;

// One argument as the trace writes it. Out arguments (pointers to non-const)
// are written after the call, so they show what the call stored.
template <typename T>
void AppendArgument(std::string& out, T value)
{
    if constexpr (std::is_same_v<T, const char*>) {
        AppendText(out, value);
    } else if constexpr (std::is_same_v<T, char*>) {
        out += '&';
        AppendText(out, value);
    } else if constexpr (std::is_pointer_v<T> && std::is_const_v<std::remove_pointer_t<T>>) {
        // The card's arrays are pairs of axes, positions or centres.
        if (!value) {
            out += "NULL";
            return;
        }
        out += '[';
        AppendValue(out, value[0]);
        out += ", ";
        AppendValue(out, value[1]);
        out += ']';
    } else if constexpr (std::is_pointer_v<T>) {
        out += '&';
        if (value)
            AppendValue(out, *value);
        else
            out += "NULL";
    } else {
        AppendValue(out, value);
    }
}

template <typename R>
R FromScript(double value)
{
    if constexpr (std::is_floating_point_v<R>)
        return static_cast<R>(value);
    else
        return static_cast<R>(std::llround(value));
}

// Runs one entry point: a scripted result stands in for the simulation,
// otherwise the card answers; then the call is logged. The answer may let go
// of the lock while it waits (WaitUntil); the call is logged once, when the
// answer is there.
template <typename R, typename Body, typename... Args>
R Call(const char* name, Body&& body, Args... args)
{
    std::unique_lock lock(CallMutex());
    const CallScope scope(lock);
    const std::optional<double> scripted = TakeScripted(name);
    const R result = scripted ? FromScript<R>(*scripted) : body();
    if (Logging()) {
        std::string line = name;
        line += '(';
        [[maybe_unused]] const char* separator = "";
        ((line += separator, AppendArgument(line, args), separator = ", "), ...);
        line += ") = ";
        AppendValue(line, result);
        LogCall(line);
    }
    return result;
}

} // namespace tolvane
