// One card call as the console reads it: written as the call log writes it
// ("tvn_set_profile(0, 400, 2000, 0.1, 0.1)", arrays as [a, b], text in
// double quotes, an out argument as & with whatever follows it), checked
// against the one list of card functions, their parameters' types and
// names. Plain code: no widget, no card call.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "cardlib/calllog.h"

namespace console {

// What a parameter takes, from its C type in the list: an integer or a
// floating-point value, a pair of them (a const pointer: the card's arrays are
// pairs of axes, positions or centres), a zero-terminated text, or storage
// for a value the card writes (a pointer).
enum class Kind : uint8_t { Integer, Real, IntegerPair, RealPair, Text, Out };

struct Parameter {
    Kind kind;
    const char* name; // from cardlib/tvn_param_names.h
    int bits;         // of the value, or of each value of a pair
    bool isSigned;
    int64_t least; // the range of an integer, or of each integer of a pair
    int64_t most;
};

struct CardFunction {
    cardlib::Function id;
    const char* name;
    std::vector<Parameter> parameters;
    Parameter result; // named "结果"
    bool answersStatus;
};

// Every card function, in the list's order (index = cardlib::Function).
const std::vector<CardFunction>& CardFunctions();
const CardFunction& CardFunctionOf(cardlib::Function id);
const CardFunction* FindCardFunction(QStringView name);

// "16位整数", "实数", "[32位整数, 32位整数]", "文本", "输出".
QString TypeText(const Parameter& parameter);
// "轴号 16位整数".
QString ParameterText(const Parameter& parameter);

// An argument as typed: an integer, a floating-point value, a pair of
// either, a text, an out argument (&), or a null pointer (NULL, as the call
// log writes one).
struct Out {
    bool operator==(const Out&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};
using Argument = std::variant<int64_t, double, std::array<int64_t, 2>, std::array<double, 2>, QString, Out, Null>;

struct Call {
    cardlib::Function function{};
    std::vector<Argument> arguments; // one for each parameter, of its kind
    bool operator==(const Call&) const = default;
};

struct ParseError {
    qsizetype at = 0; // the place in the line (a UTF-16 index)
    QString message;
};

// A call, or what is wrong with the line and where.
struct Parsed {
    std::optional<Call> call;
    ParseError error;
};

// Reads one typed call. Blanks are free; a time before the name (a saved
// call log line), a ';' and a "= result" tail after the call are let
// through. Integers are decimal or 0x hexadecimal and must fit the
// parameter's type.
Parsed ParseCall(const QString& line);

// The column, counted in characters from 1, of the UTF-16 index `at`.
int ColumnOf(const QString& line, qsizetype at);
// The line, a caret under the error's place, and "第 N 列：" with the message.
QString ErrorText(const QString& line, const ParseError& error);

// The functions whose names are nearest to `name`: those at the least edit
// distance, case aside, if near enough to be meant; at most three.
QStringList NearestNames(QStringView name);

// What is being typed at `cursor`: the function, once its name and '(' are
// there, and the parameter the cursor is in (−1 after the closing ')').
struct Typing {
    const CardFunction* function = nullptr;
    int parameter = -1;
};
Typing TypingAt(const QString& line, qsizetype cursor);

} // namespace console
