#include "gbk.h"

#include <QList>
#include <QtEndian>

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// Converts with iconv, replacing what cannot be converted one input unit at
// a time (`skip` bytes) with `replacement`.
QByteArray Convert(const char* to, const char* from, const QByteArray& in, size_t skip, const QByteArray& replacement)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = static_cast<size_t>(out.size() - used);
            continue;
        }
        // EILSEQ or EINVAL: an input unit that has no place in the target.
        const size_t n = std::min(skip, srcLeft);
        src += n;
        srcLeft -= n;
        if (dstLeft < static_cast<size_t>(replacement.size())) {
            const qsizetype used = dst - out.data();
            out.resize(out.size() * 2 + replacement.size());
            dst = out.data() + used;
            dstLeft = static_cast<size_t>(out.size() - used);
        }
        std::copy(replacement.begin(), replacement.end(), dst);
        dst += replacement.size();
        dstLeft -= static_cast<size_t>(replacement.size());
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(dst - out.data());
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray ToGbk(const QString& text)
{
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    return Convert("GBK", Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-32LE" : "UTF-32BE", utf32, 4, "?");
}

QString FromGbk(const QByteArray& bytes)
{
    return QString::fromUtf8(Convert("UTF-8", "GBK", bytes, 1, "\xEF\xBF\xBD"));
}
