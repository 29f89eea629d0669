// The INI reader on any bytes: it answers, never crashes, and what it answers
// is a value as a read gives it: without leading blanks or line breaks, at
// most 254 bytes in GBK.
//   input: section \0 key \0 file content
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

#include "settings/gbk.h"
#include "settings/ini.h"

namespace {

QByteArray Field(const QByteArray& input, int index)
{
    const QList<QByteArray> parts = input.split('\0');
    return index < parts.size() ? parts[index] : QByteArray();
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype second = input.indexOf('\0', input.indexOf('\0') + 1);
    const QByteArray content = second < 0 ? input : input.mid(second + 1);
    const IniFile file = IniFile::InMemory(content);
    for (const QString& section : {QString::fromUtf8(Field(input, 0)), FromGbk(Field(input, 0)),
                                   QStringLiteral("第0轴"), QStringLiteral("UTILITY")}) {
        for (const QString& key : {QString::fromUtf8(Field(input, 1)), QStringLiteral("PULSEOUTMODE")}) {
            const QString value = file.Value(section, key);
            const QByteArray bytes = ToGbk(value);
            Check(bytes.size() <= kIniValueCapacity || value.contains(QChar::ReplacementCharacter));
            // Blanks go from both ends before the cut, so only a cut value may
            // end in one.
            Check(!value.startsWith(QLatin1Char(' ')) && (!value.endsWith(QLatin1Char(' ')) || bytes.size() > 200));
            Check(!value.contains(QLatin1Char('\n')));
        }
    }
    return 0;
}
