// The icon files of the programs' resources: the directory that Windows and
// the resource compiler read, and the pictures behind it.
#include <QBuffer>
#include <QImageReader>
#include <QTest>

#include "common/icofile.h"
#include "common/icons.h"

namespace {

// Little-endian fields, byte by byte through at(): bounds-checked, and it
// keeps GCC's array-bounds analysis from guessing at an empty array's storage.
quint32 ReadLittleEndian(const QByteArray& data, qsizetype at, int bytes)
{
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(data.at(at + i));
    return value;
}

quint16 Read16(const QByteArray& data, qsizetype at) { return quint16(ReadLittleEndian(data, at, 2)); }

quint32 Read32(const QByteArray& data, qsizetype at) { return ReadLittleEndian(data, at, 4); }

QImage Square(int side, QColor colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestIcoFile : public QObject {
    Q_OBJECT

private slots:
    // Every entry's size, place and PNG picture as the directory gives them;
    // the pictures follow the directory back to back, up to the file's end.
    void directoryDescribesEachPicture()
    {
        const QList<int> sides = {16, 32, 48, 256};
        QList<QImage> images;
        for (int side : sides)
            images.append(Square(side, QColor(10, 20, side % 256, 200)));
        const QByteArray ico = IcoFile(images);
        QVERIFY(ico.size() > 6 + 16 * sides.size());
        QCOMPARE(Read16(ico, 0), quint16(0));
        QCOMPARE(Read16(ico, 2), quint16(1));
        QCOMPARE(Read16(ico, 4), quint16(sides.size()));
        quint32 expectedOffset = 6 + 16 * static_cast<quint32>(sides.size());
        for (qsizetype i = 0; i < sides.size(); ++i) {
            const qsizetype entry = 6 + 16 * i;
            QCOMPARE(quint8(ico[entry]), quint8(sides[i] & 0xff));
            QCOMPARE(quint8(ico[entry + 1]), quint8(sides[i] & 0xff));
            QCOMPARE(Read16(ico, entry + 6), quint16(32));
            const quint32 size = Read32(ico, entry + 8), offset = Read32(ico, entry + 12);
            QCOMPARE(offset, expectedOffset);
            expectedOffset += size;
            const QByteArray png = ico.mid(offset, size);
            QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
            const QImage picture = QImage::fromData(png, "PNG");
            QCOMPARE(picture.size(), QSize(sides[i], sides[i]));
            QCOMPARE(picture.pixelColor(sides[i] / 2, sides[i] / 2), images[i].pixelColor(0, 0));
        }
        QCOMPARE(qsizetype(expectedOffset), ico.size());
    }

    // Qt's own icon reader takes the file with every size in it.
    void readableAsAnIcon()
    {
        const QByteArray ico = IcoFile({DrawIcon(ProgramIcon::Kestrune, 16), DrawIcon(ProgramIcon::Kestrune, 256)});
        QBuffer buffer;
        buffer.setData(ico);
        QImageReader reader(&buffer, "ico");
        if (!reader.canRead())
            QSKIP("Qt's ICO image plugin is not installed");
        QCOMPARE(reader.imageCount(), 2);
        QList<QSize> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            sizes.append(reader.read().size());
        }
        QCOMPARE(sizes, (QList<QSize>{{16, 16}, {256, 256}}));
    }

    // What no icon file can hold gives no file rather than a broken one.
    void refusesWhatAnIconCannotHold()
    {
        QVERIFY(IcoFile({}).isEmpty());
        QVERIFY(IcoFile({QImage()}).isEmpty());
        QVERIFY(IcoFile({Square(16, Qt::red), Square(512, Qt::red)}).isEmpty());
        QVERIFY(IcoFile({QImage(32, 16, QImage::Format_ARGB32)}).isEmpty());
    }
};

QTEST_MAIN(TestIcoFile)
#include "tst_icofile.moc"
