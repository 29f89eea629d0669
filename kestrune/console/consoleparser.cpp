#include "consoleparser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "common/usertext.h"
#include "settings/numbertext.h"

namespace console {

namespace {

// The parameters' names, checked against the list when this compiles.
struct NameList {
    std::string_view function;
    std::array<const char*, 7> names;
    size_t count;
};

constexpr NameList kNames[] = {
#define TVN_PARAM_NAMES(function, ...) \
    {#function, {__VA_ARGS__}, std::initializer_list<const char*>{__VA_ARGS__}.size()},
#include "cardlib/tvn_param_names.h"
#undef TVN_PARAM_NAMES
};

constexpr const NameList* NamesOf(std::string_view function)
{
    for (const NameList& names : kNames)
        if (names.function == function)
            return &names;
    return nullptr;
}

template <typename F>
struct Arity;
template <typename R, typename... A>
struct Arity<R(A...)> {
    static constexpr size_t value = sizeof...(A);
};

#define TVN_FUNCTION(result, name, params, answer)                                        \
    static_assert(NamesOf(#name) && NamesOf(#name)->count == Arity<result params>::value, \
                  "cardlib/tvn_param_names.h: " #name " needs one name for each of its parameters");
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION
static_assert(std::size(kNames) == static_cast<size_t>(cardlib::Function::Count),
              "cardlib/tvn_param_names.h names a function that tvn_functions.h does not have");

template <typename T>
constexpr Parameter Scalar(Kind kind, const char* name)
{
    static_assert(std::is_arithmetic_v<T> && (std::is_signed_v<T> || sizeof(T) < 8),
                  "a card value whose range an int64_t does not hold");
    constexpr int bits = static_cast<int>(sizeof(T) * 8);
    if constexpr (std::is_integral_v<T>)
        return {kind, name, bits, std::is_signed_v<T>, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()};
    else
        return {kind, name, bits, true, 0, 0};
}

template <typename T>
constexpr Parameter ParameterOf(const char* name)
{
    if constexpr (std::is_same_v<T, const char*>) {
        return {Kind::Text, name, 8, true, 0, 0};
    } else if constexpr (std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>>) {
        return {Kind::Out, name, 0, true, 0, 0};
    } else if constexpr (std::is_pointer_v<T>) {
        using Element = std::remove_const_t<std::remove_pointer_t<T>>;
        return Scalar<Element>(std::is_integral_v<Element> ? Kind::IntegerPair : Kind::RealPair, name);
    } else {
        return Scalar<T>(std::is_integral_v<T> ? Kind::Integer : Kind::Real, name);
    }
}

template <typename F>
struct Describe;
template <typename R, typename... A>
struct Describe<R(A...)> {
    static CardFunction Make(cardlib::Function id, const char* name, bool answersStatus)
    {
        const NameList& names = *NamesOf(name);
        CardFunction function{id, name, {}, ParameterOf<R>("结果"), answersStatus};
        [[maybe_unused]] size_t i = 0;
        (function.parameters.push_back(ParameterOf<A>(names.names[i++])), ...);
        return function;
    }
};

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsNameStart(QChar c) { return c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsNameChar(QChar c) { return IsNameStart(c) || IsDigit(c); }

qsizetype SkipBlanks(const QString& s, qsizetype at)
{
    while (at < s.size() && s[at].isSpace())
        ++at;
    return at;
}

// A saved call log line starts with the call's time ("4339.994 tvn_…").
qsizetype SkipTime(const QString& s, qsizetype at)
{
    qsizetype i = at;
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i == at)
        return at;
    if (i < s.size() && s[i] == u'.')
        for (++i; i < s.size() && IsDigit(s[i]);)
            ++i;
    const qsizetype after = SkipBlanks(s, i);
    return after > i && after < s.size() && IsNameStart(s[after]) ? after : at;
}

// The place of the name's first character and of the character after it.
std::pair<qsizetype, qsizetype> NameAt(const QString& s)
{
    const qsizetype begin = SkipTime(s, SkipBlanks(s, 0));
    qsizetype end = begin;
    if (end < s.size() && IsNameStart(s[end]))
        while (end < s.size() && IsNameChar(s[end]))
            ++end;
    return {begin, end};
}

// Typed text as a message quotes it.
QString Shown(QStringView text) { return QStringLiteral("“%1”").arg(QuoteUserText(Abbreviated(text.toString()))); }

QString Named(const Parameter& p) { return QStringLiteral("参数“%1”").arg(QString::fromUtf8(p.name)); }

struct Span {
    qsizetype begin;
    qsizetype end;
};

// The arguments between the '(' at `open` and its ')', blanks trimmed, and
// the place of the ')'.
struct Split {
    std::vector<Span> arguments;
    qsizetype close = -1;
    std::optional<ParseError> error;
};

Split SplitArguments(const QString& s, qsizetype open)
{
    Split split;
    const auto add = [&](qsizetype begin, qsizetype end) {
        begin = SkipBlanks(s, begin);
        while (end > begin && s[end - 1].isSpace())
            --end;
        split.arguments.push_back({begin, end});
    };
    qsizetype begin = open + 1;
    qsizetype bracket = -1; // the '[' of a pair being read
    for (qsizetype i = open + 1;; ++i) {
        if (i == s.size()) {
            split.error = bracket >= 0 ? ParseError{bracket, QStringLiteral("“[”没有对应的“]”。")}
                                       : ParseError{open, QStringLiteral("“(”没有对应的“)”。")};
            return split;
        }
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            if (end < 0) {
                split.error = ParseError{i, QStringLiteral("引号没有闭合：文本应以另一个“\"”结束。")};
                return split;
            }
            i = end;
        } else if (c == u'[' && bracket < 0) {
            bracket = i;
        } else if (c == u']' && bracket >= 0) {
            bracket = -1;
        } else if ((c == u',' || c == u')') && bracket < 0) {
            add(begin, i);
            begin = i + 1;
            if (c == u')') {
                split.close = i;
                break;
            }
        }
    }
    // "f()" and "f( )" have no argument, "f(0, )" an empty second one.
    if (split.arguments.size() == 1 && split.arguments[0].begin == split.arguments[0].end)
        split.arguments.clear();
    return split;
}

enum class Number { Read, NotNumber, OutOfRange };

int DigitValue(QChar c)
{
    if (IsDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// A decimal or 0x hexadecimal integer with an optional sign.
Number ReadInteger(QStringView token, int64_t& value)
{
    qsizetype i = 0;
    const bool negative = !token.isEmpty() && token[0] == u'-';
    if (!token.isEmpty() && (token[0] == u'-' || token[0] == u'+'))
        ++i;
    uint64_t base = 10;
    if (token.size() - i > 2 && token[i] == u'0' && (token[i + 1] == u'x' || token[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == token.size())
        return Number::NotNumber;
    constexpr uint64_t kLargest = uint64_t(1) << 63; // the size of INT64_MIN
    uint64_t size = 0;
    bool tooBig = false;
    for (; i < token.size(); ++i) {
        const int digit = DigitValue(token[i]);
        if (digit < 0 || static_cast<uint64_t>(digit) >= base)
            return Number::NotNumber;
        if (size > (kLargest - static_cast<uint64_t>(digit)) / base)
            tooBig = true;
        else
            size = size * base + static_cast<uint64_t>(digit);
    }
    if (tooBig || (!negative && size == kLargest))
        return Number::OutOfRange;
    value = negative ? static_cast<int64_t>(0 - size) : static_cast<int64_t>(size);
    return Number::Read;
}

// A floating-point value as the call log writes one ("2000", "0.1", "1e+20",
// "inf", "-nan"), with an optional '+'.
Number ReadReal(QStringView token, double& value)
{
    std::string text;
    for (const QChar c : token) {
        if (c.unicode() >= 128)
            return Number::NotNumber;
        text += static_cast<char>(c.unicode());
    }
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::invalid_argument || end != last)
        return Number::NotNumber;
    return error == std::errc() ? Number::Read : Number::OutOfRange;
}

class ArgumentReader {
public:
    ArgumentReader(const QString& line, ParseError& error) : s_(line), error_(error) {}

    std::optional<Argument> Read(Span span, const Parameter& p)
    {
        const QStringView token = QStringView(s_).sliced(span.begin, span.end - span.begin);
        const bool pointer = p.kind != Kind::Integer && p.kind != Kind::Real;
        if (token.isEmpty())
            return Fail(span.begin, QStringLiteral("缺少%1。").arg(Named(p)));
        if (token == u"NULL")
            return pointer ? std::optional<Argument>(Null{})
                           : Fail(span.begin, QStringLiteral("%1不是指针，不能为 NULL。").arg(Named(p)));
        if (token[0] == u'&') {
            // What follows the '&' is the value a call log line shows; it is
            // not read.
            if (p.kind == Kind::Out)
                return Out{};
            return Fail(span.begin, QStringLiteral("%1不是输出参数，不能写 &。").arg(Named(p)));
        }
        switch (p.kind) {
        case Kind::Integer: return Integer(token, span.begin, p);
        case Kind::Real: return Real(token, span.begin, p);
        case Kind::IntegerPair:
        case Kind::RealPair: return Pair(token, span.begin, p);
        case Kind::Text: return Text(token, span.begin, p);
        case Kind::Out:
            return Fail(span.begin,
                        QStringLiteral("%1是输出参数，应写作 &：控制卡写入的值显示在结果之后。").arg(Named(p)));
        }
        return std::nullopt;
    }

private:
    std::nullopt_t Fail(qsizetype at, QString message)
    {
        error_ = {at, std::move(message)};
        return std::nullopt;
    }

    std::optional<Argument> Integer(QStringView token, qsizetype at, const Parameter& p)
    {
        int64_t value = 0;
        double real = 0;
        switch (ReadInteger(token, value)) {
        case Number::NotNumber:
            return Fail(at,
                        ReadReal(token, real) == Number::Read
                            ? QStringLiteral("%1应为整数（%2），%3不是整数。").arg(Named(p), TypeText(p), Shown(token))
                            : QStringLiteral("%1应为整数（%2），%3不是数。").arg(Named(p), TypeText(p), Shown(token)));
        case Number::OutOfRange: return OutOfRange(token, at, p);
        case Number::Read: break;
        }
        if (value < p.least || value > p.most)
            return OutOfRange(token, at, p);
        return value;
    }

    std::nullopt_t OutOfRange(QStringView token, qsizetype at, const Parameter& p)
    {
        return Fail(at, QStringLiteral("%1超出范围：%2不在 %3 到 %4 之间（%5）。")
                            .arg(Named(p), Shown(token))
                            .arg(p.least)
                            .arg(p.most)
                            .arg(TypeText(p)));
    }

    std::optional<Argument> Real(QStringView token, qsizetype at, const Parameter& p)
    {
        double value = 0;
        switch (ReadReal(token, value)) {
        case Number::NotNumber: return Fail(at, QStringLiteral("%1应为数，%2不是数。").arg(Named(p), Shown(token)));
        case Number::OutOfRange:
            return Fail(at, QStringLiteral("%1超出范围：%2超出%3的范围。").arg(Named(p), Shown(token), TypeText(p)));
        case Number::Read: break;
        }
        if (p.bits == 32 && std::isfinite(value) && std::fabs(value) > FLT_MAX)
            return Fail(at, QStringLiteral("%1超出范围：%2超出%3的范围。").arg(Named(p), Shown(token), TypeText(p)));
        return value;
    }

    std::optional<Argument> Pair(QStringView token, qsizetype at, const Parameter& p)
    {
        if (token[0] != u'[' || token.back() != u']')
            return Fail(at, QStringLiteral("%1应为两个值的数组，如 [0, 1]。").arg(Named(p)));
        const QList<QStringView> parts = token.sliced(1, token.size() - 2).split(u',');
        if (parts.size() != 2)
            return Fail(at, QStringLiteral("%1应有 2 个值，这里有 %2 个。").arg(Named(p)).arg(parts.size()));
        Parameter element = p;
        element.kind = p.kind == Kind::IntegerPair ? Kind::Integer : Kind::Real;
        Argument values[2];
        for (int i = 0; i < 2; ++i) {
            const qsizetype offset = parts[i].data() - token.data();
            const QStringView trimmed = parts[i].trimmed();
            const qsizetype place = at + offset + (trimmed.isEmpty() ? 0 : trimmed.data() - parts[i].data());
            if (trimmed.isEmpty())
                return Fail(place, QStringLiteral("%1缺少第 %2 个值。").arg(Named(p)).arg(i + 1));
            const auto value =
                element.kind == Kind::Integer ? Integer(trimmed, place, element) : Real(trimmed, place, element);
            if (!value)
                return std::nullopt;
            values[i] = *value;
        }
        if (p.kind == Kind::IntegerPair)
            return std::array<int64_t, 2>{std::get<int64_t>(values[0]), std::get<int64_t>(values[1])};
        return std::array<double, 2>{std::get<double>(values[0]), std::get<double>(values[1])};
    }

    std::optional<Argument> Text(QStringView token, qsizetype at, const Parameter& p)
    {
        if (token[0] != u'"')
            return Fail(at, QStringLiteral("%1应为带双引号的文本，如 \"a.s6x\"。").arg(Named(p)));
        const qsizetype close = token.indexOf(u'"', 1);
        if (close != token.size() - 1)
            return Fail(at + close + 1, QStringLiteral("%1的文本之后还有文字。").arg(Named(p)));
        // The card gets the text up to its first zero character.
        if (const qsizetype zero = token.indexOf(QChar(0)); zero >= 0)
            return Fail(at + zero, QStringLiteral("%1的文本中有空字符（U+0000）。").arg(Named(p)));
        return token.sliced(1, close - 1).toString();
    }

    const QString& s_;
    ParseError& error_;
};

// Between texts already in lower case.
int EditDistance(QStringView a, QStringView b)
{
    std::vector<int> row(static_cast<size_t>(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const auto k = static_cast<size_t>(j);
            const int substitute = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            diagonal = row[k];
            row[k] = std::min({row[k] + 1, row[k - 1] + 1, substitute});
        }
    }
    return row.back();
}

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

const std::vector<CardFunction>& CardFunctions()
{
#define TVN_ANSWERS_STATUS true
#define TVN_ANSWERS_VALUE false
    static const std::vector<CardFunction> functions{
#define TVN_FUNCTION(result, name, params, answer) \
    Describe<result params>::Make(cardlib::Function::name, #name, TVN_ANSWERS_##answer),
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION
    };
    return functions;
}

const CardFunction& CardFunctionOf(cardlib::Function id) { return CardFunctions()[static_cast<size_t>(id)]; }

const CardFunction* FindCardFunction(QStringView name)
{
    for (const CardFunction& function : CardFunctions())
        if (name == QLatin1StringView(function.name))
            return &function;
    return nullptr;
}

QString TypeText(const Parameter& p)
{
    switch (p.kind) {
    case Kind::Integer: return (p.isSigned ? QStringLiteral("%1位整数") : QStringLiteral("无符号%1位整数")).arg(p.bits);
    case Kind::Real: return p.bits == 32 ? QStringLiteral("单精度实数") : QStringLiteral("实数");
    case Kind::IntegerPair:
    case Kind::RealPair: {
        Parameter element = p;
        element.kind = p.kind == Kind::IntegerPair ? Kind::Integer : Kind::Real;
        return QStringLiteral("[%1, %1]").arg(TypeText(element));
    }
    case Kind::Text: return QStringLiteral("文本");
    case Kind::Out: return QStringLiteral("输出");
    }
    return {};
}

QString ParameterText(const Parameter& p)
{
    if (p.kind == Kind::Out)
        return QLatin1Char('&') + QString::fromUtf8(p.name);
    return QString::fromUtf8(p.name) + QLatin1Char(' ') + TypeText(p);
}

Parsed ParseCall(const QString& line)
{
    Parsed parsed;
    const auto fail = [&](qsizetype at, const QString& message) {
        parsed.error = {at, message};
        return parsed;
    };
    const auto [nameBegin, nameEnd] = NameAt(line);
    if (nameBegin == line.size())
        return fail(nameBegin, QStringLiteral("请输入一次调用，如 tvn_get_position(0)。"));
    if (nameEnd == nameBegin)
        return fail(nameBegin, QStringLiteral("调用应以函数名开始，如 tvn_get_position(0)。"));
    const QStringView name = QStringView(line).sliced(nameBegin, nameEnd - nameBegin);
    const CardFunction* function = FindCardFunction(name);
    if (!function) {
        const QStringList nearest = NearestNames(name);
        return fail(
            nameBegin,
            nearest.isEmpty()
                ? QStringLiteral("没有名为“%1”的函数。").arg(name)
                : QStringLiteral("没有名为“%1”的函数，是不是 %2？").arg(name, nearest.join(QStringLiteral(" 或 "))));
    }
    const qsizetype open = SkipBlanks(line, nameEnd);
    if (open == line.size() || line[open] != u'(')
        return fail(open, QStringLiteral("函数名之后应为“(”和参数，如 %1(…)。").arg(name));

    const Split split = SplitArguments(line, open);
    if (split.error)
        return fail(split.error->at, split.error->message);
    qsizetype after = SkipBlanks(line, split.close + 1);
    if (after < line.size() && line[after] == u';')
        after = SkipBlanks(line, after + 1);
    // A call log line's "= result" says what the card answered then.
    if (after < line.size() && line[after] != u'=')
        return fail(after, QStringLiteral("调用之后多出了%1。").arg(Shown(QStringView(line).sliced(after))));

    const std::vector<Parameter>& parameters = function->parameters;
    const size_t given = split.arguments.size();
    if (given != parameters.size()) {
        QStringList names;
        for (const Parameter& p : parameters)
            names << (p.kind == Kind::Out ? QStringLiteral("&") : QString()) + QString::fromUtf8(p.name);
        const QString needs = parameters.empty() ? QStringLiteral("%1 没有参数").arg(name)
                                                 : QStringLiteral("%1 需要 %2 个参数（%3）")
                                                       .arg(name)
                                                       .arg(parameters.size())
                                                       .arg(names.join(QStringLiteral("、")));
        const qsizetype at = given > parameters.size() ? split.arguments[parameters.size()].begin : split.close;
        return fail(at, QStringLiteral("%1，这里有 %2 个。").arg(needs).arg(given));
    }

    Call call{function->id, {}};
    ArgumentReader reader(line, parsed.error);
    for (size_t i = 0; i < given; ++i) {
        std::optional<Argument> argument = reader.Read(split.arguments[i], parameters[i]);
        if (!argument)
            return parsed;
        call.arguments.push_back(std::move(*argument));
    }
    parsed.call = std::move(call);
    return parsed;
}

int ColumnOf(const QString& line, qsizetype at)
{
    int column = 1;
    for (qsizetype i = 0; i < at && i < line.size(); ++i)
        if (!line[i].isLowSurrogate())
            ++column;
    return column + static_cast<int>(std::max<qsizetype>(0, at - line.size()));
}

QString ErrorText(const QString& line, const ParseError& error)
{
    // Under a character a monospaced font draws twice as wide, a space as
    // wide, so that the caret stands under the place in Chinese text too.
    QString caret;
    for (qsizetype i = 0; i < error.at && i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.isLowSurrogate())
            continue;
        const char32_t code = c.isHighSurrogate() && i + 1 < line.size() ? QChar::surrogateToUcs4(c, line[i + 1])
                                                                         : static_cast<char32_t>(c.unicode());
        caret += c == u'\t' ? QChar(u'\t') : IsWide(code) ? QChar(0x3000) : QChar(u' ');
    }
    caret += QLatin1Char('^');
    return line + QLatin1Char('\n') + caret + QLatin1Char('\n') +
           QStringLiteral("第 %1 列：%2").arg(ColumnOf(line, error.at)).arg(error.message);
}

QStringList NearestNames(QStringView name)
{
    if (name.size() > 64) // longer than any name by far
        return {};
    int least = std::max<int>(2, static_cast<int>(name.size() / 3));
    const QString lower = name.toString().toLower();
    QStringList nearest;
    for (const CardFunction& function : CardFunctions()) {
        const QString candidate = QString::fromLatin1(function.name);
        if (std::abs(candidate.size() - lower.size()) > least) // at least that far
            continue;
        const int distance = EditDistance(lower, candidate.toLower());
        if (distance < least)
            nearest.clear();
        if (distance <= least && nearest.size() < 3) {
            least = distance;
            nearest << candidate;
        }
    }
    // A part of a name, as "home" of tvn_home_move.
    if (nearest.isEmpty() && name.size() >= 3)
        for (const CardFunction& function : CardFunctions())
            if (QLatin1StringView(function.name).contains(name, Qt::CaseInsensitive) && nearest.size() < 3)
                nearest << QString::fromLatin1(function.name);
    return nearest;
}

Typing TypingAt(const QString& line, qsizetype cursor)
{
    const auto [nameBegin, nameEnd] = NameAt(line);
    const qsizetype open = SkipBlanks(line, nameEnd);
    if (nameEnd == nameBegin || open == line.size() || line[open] != u'(' || cursor <= open)
        return {};
    Typing typing{FindCardFunction(QStringView(line).sliced(nameBegin, nameEnd - nameBegin)), 0};
    if (!typing.function)
        return {};
    bool quoted = false, bracket = false;
    for (qsizetype i = open + 1; i < cursor && i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted)
            quoted = c != u'"';
        else if (c == u'"')
            quoted = true;
        else if (c == u'[' || c == u']')
            bracket = c == u'[';
        else if (c == u',' && !bracket)
            ++typing.parameter;
        else if (c == u')' && !bracket)
            return {typing.function, -1};
    }
    return typing;
}

} // namespace console
