// How a card call's values are written as text, in the stand-in's trace
// (`name(arg, arg, …) = result`) and in Kestrune's call log alike.
#pragma once

#include <charconv>
#include <string>
#include <type_traits>

namespace cardlib::trace {

// Shortest text that reads back to the same value: 2000, 0.1, -3.2.
template <typename F>
void AppendFloat(std::string& out, F value)
{
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    out.append(text, ec == std::errc() ? end : text);
}

// A text in double quotes; a null pointer as NULL.
inline void AppendText(std::string& out, const char* text)
{
    if (!text) {
        out += "NULL";
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

template <typename T>
void AppendValue(std::string& out, const T& value)
{
    if constexpr (std::is_floating_point_v<T>)
        AppendFloat(out, value);
    else
        out += std::to_string(value);
}

} // namespace cardlib::trace
