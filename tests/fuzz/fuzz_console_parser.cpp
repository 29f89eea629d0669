// The console's reading of a typed call on any text: it answers, never
// crashes, and what it answers keeps its promise. A mistake has a place in
// the line and a message; a call has an argument of its parameter's kind
// for each parameter, integers in their range, and written as the call log
// writes it, it reads back as the same call.
//   input: the line, UTF-8
#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cardlib/traceformat.h"
#include "console/consoleparser.h"

using namespace console;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool InRange(int64_t value, const Parameter& p) { return value >= p.least && value <= p.most; }

bool Fits(const Argument& argument, const Parameter& p)
{
    if (std::holds_alternative<Null>(argument))
        return p.kind != Kind::Integer && p.kind != Kind::Real;
    switch (p.kind) {
    case Kind::Integer: return std::holds_alternative<int64_t>(argument) && InRange(std::get<int64_t>(argument), p);
    case Kind::Real: return std::holds_alternative<double>(argument);
    case Kind::IntegerPair: {
        const auto* pair = std::get_if<std::array<int64_t, 2>>(&argument);
        return pair && InRange((*pair)[0], p) && InRange((*pair)[1], p);
    }
    case Kind::RealPair: return std::holds_alternative<std::array<double, 2>>(argument);
    case Kind::Text: return std::holds_alternative<QString>(argument);
    case Kind::Out: return std::holds_alternative<Out>(argument);
    }
    return false;
}

// The call as the call log writes it, with the out arguments empty.
QString LogLine(const Call& call)
{
    std::string line = CardFunctionOf(call.function).name;
    line += '(';
    for (size_t i = 0; i < call.arguments.size(); ++i) {
        const Argument& a = call.arguments[i];
        if (i > 0)
            line += ", ";
        if (const auto* integer = std::get_if<int64_t>(&a)) {
            cardlib::trace::AppendValue(line, *integer);
        } else if (const auto* real = std::get_if<double>(&a)) {
            cardlib::trace::AppendFloat(line, *real);
        } else if (const auto* integers = std::get_if<std::array<int64_t, 2>>(&a)) {
            line += '[' + std::to_string((*integers)[0]) + ", " + std::to_string((*integers)[1]) + ']';
        } else if (const auto* reals = std::get_if<std::array<double, 2>>(&a)) {
            line += '[';
            cardlib::trace::AppendFloat(line, (*reals)[0]);
            line += ", ";
            cardlib::trace::AppendFloat(line, (*reals)[1]);
            line += ']';
        } else if (const auto* text = std::get_if<QString>(&a)) {
            cardlib::trace::AppendText(line, text->toStdString().c_str());
        } else {
            line += std::holds_alternative<Out>(a) ? "&" : "NULL";
        }
    }
    return QString::fromStdString(line + ") = 0");
}

// Equal, a NaN being equal to a NaN.
bool Same(const Call& a, const Call& b)
{
    const auto real = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    if (a.function != b.function || a.arguments.size() != b.arguments.size())
        return false;
    for (size_t i = 0; i < a.arguments.size(); ++i) {
        const Argument &x = a.arguments[i], &y = b.arguments[i];
        if (const auto* d = std::get_if<double>(&x)) {
            if (!std::holds_alternative<double>(y) || !real(*d, std::get<double>(y)))
                return false;
        } else if (const auto* p = std::get_if<std::array<double, 2>>(&x)) {
            const auto* q = std::get_if<std::array<double, 2>>(&y);
            if (!q || !real((*p)[0], (*q)[0]) || !real((*p)[1], (*q)[1]))
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Parsed parsed = ParseCall(line);
    if (!parsed.call) {
        Check(parsed.error.at >= 0 && parsed.error.at <= line.size() && !parsed.error.message.isEmpty());
        Check(ColumnOf(line, parsed.error.at) >= 1);
        Check(ErrorText(line, parsed.error).endsWith(parsed.error.message));
    } else {
        const Call& call = *parsed.call;
        const CardFunction& function = CardFunctionOf(call.function);
        Check(call.arguments.size() == function.parameters.size());
        for (size_t i = 0; i < call.arguments.size(); ++i)
            Check(Fits(call.arguments[i], function.parameters[i]));
        const Parsed again = ParseCall(LogLine(call));
        Check(again.call && Same(*again.call, call));
    }
    for (qsizetype cursor = 0; cursor <= std::min<qsizetype>(line.size(), 64); ++cursor) {
        const Typing typing = TypingAt(line, cursor);
        Check(!typing.function || typing.parameter >= -1);
    }
    if (line.size() <= 24)
        for (const QString& name : NearestNames(line))
            Check(FindCardFunction(name) != nullptr);
    return 0;
}
