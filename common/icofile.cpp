#include "icofile.h"

#include <QBuffer>
#include <QtEndian>

namespace {

void Append16(QByteArray& out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void Append32(QByteArray& out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

} // namespace

QByteArray IcoFile(const QList<QImage>& images)
{
    constexpr int kHeaderBytes = 6, kEntryBytes = 16;
    QList<QByteArray> pngs;
    for (const QImage& image : images) {
        if (image.isNull() || image.width() != image.height() || image.width() > 256)
            return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
            return {};
        pngs.append(png);
    }
    if (pngs.isEmpty())
        return {};

    QByteArray out;
    Append16(out, 0); // reserved
    Append16(out, 1); // an icon, not a cursor
    Append16(out, static_cast<quint16>(pngs.size()));
    quint32 offset = static_cast<quint32>(kHeaderBytes + kEntryBytes * pngs.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        // A side of 256 is written as 0: the field is one byte.
        const auto side = static_cast<char>(images[i].width() & 0xff);
        out.append(side);  // width
        out.append(side);  // height
        out.append('\0');  // no palette
        out.append('\0');  // reserved
        Append16(out, 1);  // colour planes
        Append16(out, 32); // bits per pixel
        Append32(out, static_cast<quint32>(pngs[i].size()));
        Append32(out, offset);
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray& png : pngs)
        out.append(png);
    return out;
}
