#include "calls.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <vector>

#include "control.h"

namespace tolvane {
namespace {

struct CallState {
    bool loaded = false;
    std::FILE* trace = nullptr;
    bool recording = false;
    std::vector<std::string> recorded;
    std::map<std::string, std::deque<double>> scripted;
};

CallState& State()
{
    static CallState state;
    return state;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool ParseNumber(const std::string& text, double* value)
{
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* begin = t.c_str();
    if (*begin == '+')
        ++begin;
    auto [end, ec] = std::from_chars(begin, t.c_str() + t.size(), *value);
    return ec == std::errc() && end == t.c_str() + t.size();
}

// Lines "name = v1, v2, ..."; blank lines and lines starting with # are
// skipped; anything else is reported and skipped.
void LoadScript(const char* path, std::map<std::string, std::deque<double>>& queues)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "tolvane: cannot read TOLVANE_SCRIPT %s\n", path);
        return;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        const size_t equals = t.find('=');
        const std::string name = equals == std::string::npos ? std::string() : Trim(t.substr(0, equals));
        std::vector<double> values;
        bool ok = !name.empty() && name.find_first_of(" \t") == std::string::npos;
        if (ok) {
            std::string rest = t.substr(equals + 1);
            size_t start = 0;
            while (ok) {
                const size_t comma = rest.find(',', start);
                double value = 0;
                ok = ParseNumber(rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start),
                                 &value);
                values.push_back(value);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        }
        if (!ok) {
            std::fprintf(stderr, "tolvane: %s:%d: not \"name = value, value, ...\", skipped: %s\n", path, number,
                         t.c_str());
            continue;
        }
        auto& queue = queues[name];
        queue.insert(queue.end(), values.begin(), values.end());
    }
}

// The environment is read once, at the first call.
CallState& Loaded()
{
    CallState& state = State();
    if (!state.loaded) {
        state.loaded = true;
        if (const char* trace = std::getenv("TOLVANE_TRACE"); trace && *trace) {
            state.trace = std::fopen(trace, "a");
            if (!state.trace)
                std::fprintf(stderr, "tolvane: cannot open TOLVANE_TRACE %s\n", trace);
        }
        if (const char* script = std::getenv("TOLVANE_SCRIPT"); script && *script)
            LoadScript(script, state.scripted);
    }
    return state;
}

} // namespace

std::recursive_mutex& CallMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

namespace {
thread_local std::unique_lock<std::recursive_mutex>* heldCallLock = nullptr;
} // namespace

std::unique_lock<std::recursive_mutex>* HeldCallLock() { return heldCallLock; }

CallScope::CallScope(std::unique_lock<std::recursive_mutex>& lock) : outer_(heldCallLock) { heldCallLock = &lock; }

CallScope::~CallScope() { heldCallLock = outer_; }

std::optional<double> TakeScripted(const char* name)
{
    CallState& state = Loaded();
    if (state.scripted.empty())
        return std::nullopt;
    auto it = state.scripted.find(name);
    if (it == state.scripted.end() || it->second.empty())
        return std::nullopt;
    const double value = it->second.front();
    it->second.pop_front();
    return value;
}

bool Logging()
{
    const CallState& state = Loaded();
    return state.trace || state.recording;
}

void LogCall(const std::string& line)
{
    CallState& state = Loaded();
    if (state.trace) {
        std::fprintf(state.trace, "%s\n", line.c_str());
        std::fflush(state.trace);
    }
    if (state.recording)
        state.recorded.push_back(line);
}

namespace control {

void Record(bool on)
{
    std::lock_guard lock(CallMutex());
    Loaded().recording = on;
}

std::vector<std::string> Calls()
{
    std::lock_guard lock(CallMutex());
    return Loaded().recorded;
}

void ClearCalls()
{
    std::lock_guard lock(CallMutex());
    Loaded().recorded.clear();
}

void QueueResults(const std::string& name, const std::vector<double>& values)
{
    std::lock_guard lock(CallMutex());
    auto& queue = Loaded().scripted[name];
    queue.insert(queue.end(), values.begin(), values.end());
}

} // namespace control

void ForgetCalls()
{
    CallState& state = Loaded();
    state.recorded.clear();
    state.scripted.clear();
}

} // namespace tolvane
