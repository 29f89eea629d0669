// The GBK table as the programs read and write it, whole: every byte, every
// pair of bytes and every character of the Basic Multilingual Plane, in both
// directions. The digest was taken from the iconv conversion; the code page
// 936 conversion of the Windows build must give the very same table, so a
// settings file reads the same wherever it is opened.
#include <QCryptographicHash>
#include <QFile>
#include <QTest>

#include "settings/gbk.h"

namespace {

// SHA-256 of the whole listing below, and the first 8 hex digits of the
// SHA-256 of each block of 256 entries: the single bytes, the pairs by their
// first byte, the characters by their high byte.
const char kTableDigest[] = "abaf63f99c5cec7fe0958e63d73dd261a3c949893b81e39ae2375d6d0254a973";
const char kBlockDigests[] =
    "1490d450001b9bac325d77aca2064edc911b4a7caf60c77e9a7e4941721bfc44b0bc8058b25aef03b175612e25e07a51e5e641c8f9156bd9"
    "0331ec5bd64f398debf611595cdc327d77cd77bfaec3d73eebd41ee48dafd8796597c8519f354010055f9306d30f5fe983f0d67136a1bf57"
    "a13cc54668766d4815172f1a3191bdf4d261192e601120841cccb0fb0c2b0c56b3ceb152e0d2366a22b5867d5b7267bb31787dd874ca0ece"
    "86260bbb870a8861ccf771c859d14152cc32f4e76e54688d023760174a1e5077693238a2e355608d4083bad3db1e5473e05ebf6b57451ea1"
    "55c07cf3cc5526c468fece39729278b97507711414557a9d3d067de50cc80ab6bff7ab68902f02846a202b2a5ae0f2c71c3ae449c169b65f"
    "414eb268ea946de2baf043262693021734c71c291288d216155525dd92362d6dced483b1159c0a7fcce56acff011871d3fcce717c2a3ef2c"
    "0279677c41ee2a939c08a0fbe3f0b74725c7ae90425504db209c64e7febb2fd3873355a06c4419dcd6dc55e39c23c9262d20cb0fcd90d7fc"
    "1a92fc5a65374b3e6abeac8dc1235519de72a1a80bea5c0299225d0b7f89f4c9f3aa6e9451ebfc819b1d2699965f6df0162d39f80d62da05"
    "e3232c9cc5339f216eb9b6e7aaafc4c5b83563b4b0451e074350962cd277d6a6dc4d8cbf118675ccc3024315623fb820a26c0c0d40ec4f78"
    "b809a635ac21f1a1804d1875d1c5411f073ae8d12562edbe0773551f036cdb7a0484de9dfa5839a7fcc838ffd5350018f9e310d3c94f795c"
    "c5c8814232b212346f3f3260327dc9ce4e06a726978be6357158b260c2523c473a222444410c7a1edd3c057b2fcb7028e0e8ab4c3a16c47a"
    "08e5b3252c76ef394187c1189d393665f2d25d7d133f2fb6e76ebbb77b001b400ae64c212bad0d117557e1675f54a54715c927b8a1f28870"
    "4b90f05cd964d0c93c37f7017d665945cad9bb923c49e03d4413c8c24419404d7e1a767d190cd7f97861e04e06803615b779b803cbf65ccf"
    "da30037e6c08b23f97ed390089b4c777363bbc41fea8b1f6c374761ceb61e0a14ca43739db15a809d4c4e3dfca6c72a5b6c700be3bacf09e"
    "803f834cef79e4d1a7e04e2e5300bd7e7946d07a8838fcf16a870f6311277f05d28053d213b1239653e8bdb01bf99887d2edcd0acf10fc64"
    "745cd21dd37f94e4a13ad9f0519148f89436489dd25d63b067d541e767f558d70169b1c91c2209b775095b8222e32e3913d3ce43a439d8ce"
    "d06630ddcfb97d3ae26414590448170a800c9e191ecd5c14c33e0c50d347eab73e580d83b01fbc9a77b957df6ec5276e7a0ef48b60d89849"
    "0560fa19a4ae252fe6e5897f56d5985c253459f41915f06a0ae0d9980d6555821c7ec93da935cc6172d99e94bf13e2237dcc9412dc53ea5d"
    "25ffbb194005d37f085e66a1a236ee34464e85aee087da0d48889a535609f39098466e8818a6db8830f88d01628bbdc4b68df73b1cbab29e"
    "c747c47e6d3a8d2e4a8bb94e26b1903f3c168aae03746f380aa1bf034df97ada31d84350edfb1410f6b12d3336ee1127ca6f583b6e0fcae6"
    "8ba97a86563eaf337062517598654bc45790d2711da8c8b2a7f9178153d7aa7bbe41516aa0ff82329d0da6d88ac867befb41dfb005e5bdac"
    "6c9e1bdcdb4d4a9927d2ecb5ace0a31dad7b2b98592999861bcedb5ab5776b0659f2d23b4a6fc3302ab10877050352962068c436eb19a010"
    "98da4187bf2be158d0b592d1643adce668f5491040a7b896df867ded6f2c63a6f27598d3e3496de3fde4f50b0a3872e7128870fc695c7ecf"
    "7c9423d310427e378c36380374e48068101c0e87664090937e207055a7fb28b21466acbbfe2c4068a327d086b96ed86bdda7660fea377991"
    "6e1528ad8ccdaf6460e7a945ad5cc324de2ca6a7689ef02bfae243c032b3f1fd3bb474393acf47b9c36b86be72c14b115ae46bf7ceeea2d7"
    "a505c9669978d58138ebee67549d88a8f401ce908dd148c7deb8779c1c6084e7b2e528162683b3f7c1f78c4f55422387126f5ed7de540aa7"
    "356686a75e7a14248fa47b16adbcae2691ebe9b94aca7b3964bc616373cf5485d77aab37963a0182fcd098c430ae7ab5e1c83bf914e5def8"
    "48265ec63c45831c5f46be8a95cde39319b1285c35574c63e8913bae5a20bcd3a43871bef00e529bf1e4f3ae36a140e84f8f0ed2dfe410b8"
    "5ba3db864845d065187c1d909535994c93574555edafbd10cdb6610dabb5c380c157d56cb962002ef159814a0b4c1a3585e66ecd992fc117"
    "e21f02edcd23ae07fcc811b48027e9432e47511a269f53b5ede34ef47cab5d820baadef60ad0cea392275d3f38f69dcfbb77a7dbbfffc79b"
    "bec906efb44e4b3766bb31db6caecb00b26b9803a1a94d1a78c3d69643c2a81023b6326412ebcc7e59fb3654636330dd5caec26431309ce1"
    "8283b699d09d1798f5015d9144072b938d0539c2dbf896da80b2185eefa70176f7658d654bfbf5c63d693342559849514b2e6f91092b77ae"
    "f601bfebcdb375fb0a7ed2de3f54e375cfeb6416a5abde85184801496b6e862fd998c77d6fd4c3f6fc8feda6059c999d91290de04b6045c1"
    "83ced48739c0ce722c827c23ba89a04c0c10f4c6969b50fc750638278de01eaecd37e98901efdac7afbbfb065ccd11035ccd11035ccd1103"
    "5ccd11035ccd11035ccd11035ccd11035ccd1103e575a1c41b43cb341ce6aca1957374b34b74f06bd4afd4e5013fa903b002f0370d1f0701"
    "6f2986a12c6b13ffef6384648cafce57190c49b7ce4486affe2ce0acc6ac75b84c3521bc4daa563661713e82b584f8ef851aea3fc321e670"
    "5e086c692da52b04dbb7481d695011f0786036b233e464e29a4c9b2b08fdfdfe8cf97018";

QString Hex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }

QString CodePoints(const QString& text)
{
    QStringList points;
    for (const uint c : text.toUcs4())
        points << QStringLiteral("U+") + QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return points.join(QLatin1Char(' '));
}

// One line per conversion, in blocks of 256.
struct Listing {
    QStringList names;         // of the blocks
    QList<QStringList> blocks; // of the lines
};

Listing MakeListing()
{
    Listing listing;
    QStringList single;
    for (int b = 0; b < 256; ++b) {
        const QByteArray in(1, char(b));
        single << Hex(in) + QStringLiteral(" -> ") + CodePoints(FromGbk(in));
    }
    listing.names << QStringLiteral("single bytes");
    listing.blocks << single;
    for (int lead = 0; lead < 256; ++lead) {
        QStringList block;
        for (int trail = 0; trail < 256; ++trail) {
            const QByteArray in = QByteArray(1, char(lead)) + char(trail);
            block << Hex(in) + QStringLiteral(" -> ") + CodePoints(FromGbk(in));
        }
        listing.names << QStringLiteral("pairs %1 xx").arg(lead, 2, 16, QLatin1Char('0')).toUpper();
        listing.blocks << block;
    }
    for (int high = 0; high < 256; ++high) {
        QStringList block;
        for (int low = 0; low < 256; ++low) {
            const char16_t c = char16_t(high << 8 | low);
            block << CodePoints(QString(QChar(c))) + QStringLiteral(" -> ") + Hex(ToGbk(QString(QChar(c))));
        }
        listing.names << QStringLiteral("characters U+%1xx").arg(high, 2, 16, QLatin1Char('0')).toUpper();
        listing.blocks << block;
    }
    return listing;
}

QByteArray Digest(const QStringList& lines)
{
    return QCryptographicHash::hash(lines.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha256).toHex();
}

} // namespace

class TestGbk : public QObject {
    Q_OBJECT

private slots:
    void theWholeTableIsTheSameOnEverySystem()
    {
        const Listing listing = MakeListing();
        QStringList all;
        QByteArray blockDigests;
        for (const QStringList& block : listing.blocks) {
            all += block;
            blockDigests += Digest(block).left(8);
        }
        // KESTRUNE_GBK_LISTING=file writes the listing, to compare two systems line by line.
        const QString dump = qEnvironmentVariable("KESTRUNE_GBK_LISTING");
        if (!dump.isEmpty()) {
            QFile file(dump);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(all.join(QLatin1Char('\n')).toUtf8() + '\n');
        }
        const QByteArray digest = Digest(all);
        if (digest == kTableDigest)
            return;
        // Which blocks differ, and the lines of the first of them as this
        // system has them.
        const QByteArray expected(kBlockDigests);
        int shown = 0;
        for (qsizetype i = 0; i < listing.blocks.size(); ++i) {
            if (expected.mid(i * 8, 8) == blockDigests.mid(i * 8, 8))
                continue;
            qWarning("differs: %s", qPrintable(listing.names[i]));
            if (shown++ == 0)
                for (const QString& line : listing.blocks[i])
                    qWarning("  %s", qPrintable(line));
        }
        qWarning("table digest %s\nblock digests %s", digest.constData(), blockDigests.constData());
        QCOMPARE(digest, QByteArray(kTableDigest));
    }

    // The table holds each character alone; a text also has to find where
    // the next one starts.
    void longerTexts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("pair, euro, pair, cut pair")
            << QByteArray("\xB5\xDA\x80\xD6\xE1\xB5") << QStringLiteral("第€轴\uFFFD");
        QTest::newRow("no character, then a pair") << QByteArray("\xFF\xB5\xDA") << QStringLiteral("\uFFFD第");
        QTest::newRow("ASCII between pairs") << QByteArray("[\xB5\xDA"
                                                           "0\xD6\xE1]")
                                             << QStringLiteral("[第0轴]");
    }

    void longerTexts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(FromGbk(bytes), text);
        // Characters outside GBK, one '?' each, a pair of surrogates too.
        QCOMPARE(ToGbk(QStringLiteral("a\u20A9b\U0001F600c")), QByteArray("a?b?c"));
    }
};

QTEST_GUILESS_MAIN(TestGbk)
#include "tst_gbk.moc"
