// Our INI layer against the Windows private-profile functions it stands in
// for, on the files and write sequences of tst_ini: reads return the same
// values and, on files as programs write them, the same writes leave the
// same bytes, but for the differences listed below. Windows only (under Wine
// here), with the system's code page 936, as on the Chinese Windows the
// card's programs run on.
//
// The differences, each on purpose:
// - A value keeps its leading blank (" 3": the card's programs write a
//   pulse type and an SD mode so, and read them back as numbers); the
//   private-profile functions drop it.
// - A line break in a value becomes a blank, since it would split the line;
//   the private-profile functions write it as it is and break the file.
// - Every other line of the file keeps its bytes (comments, blank lines,
//   blanks around '=', LF line ends); Wine's private-profile functions write
//   the whole file anew in their own form. On a file of that form, the bytes
//   are the same.
// - A read gives at most 254 bytes of a value, as the card's programs read
//   them into a buffer of 255.
// - A header line without its ']' ("[C") names a section for our reader;
//   Wine's takes none from it.
// - A key named "=" cannot be read back by anyone: "==1" holds the key ""
//   and the value "=1".
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>

#include <windows.h>

#include "settings/gbk.h"
#include "settings/ini.h"
#include "support/files.h"

namespace {

// The pieces tst_ini draws its files and writes from.
// tst_ini's header without its ']', "[C", is left out: our reader takes
// section C from it, Wine's takes no section (a difference listed above).
const QByteArray kOddLines[] = {" [ B ] ", "[\x81\x5Dx]", "x = 2", "; comment", "", "  ", "no equals", "=lone"};
const QByteArray kPlainLines[] = {"[A]",
                                  "[a]",
                                  "[\xB5\xDA"
                                  "0\xD6\xE1]",
                                  "[UTILITY]",
                                  "X=1",
                                  "Y=",
                                  "Z=5"};
const QString kSections[] = {"A", "b", "第0轴", "乚x", "UTILITY", "New", "C"};
// tst_ini also writes a key named "=", which no one can read back: a line
// "==1" holds the key "" and the value "=1".
const QString kKeys[] = {"X", "y", "Z", "LONGKEYNAME", "乚"};
const QString kValues[] = {"", "1", " 3", "原点+EZ", "a\r\nb", QString(300, 'v')};

QByteArray Native(const QString& path) { return QDir::toNativeSeparators(path).toLocal8Bit(); }

struct Write {
    QString section, key, value;
};

// A file of `lines` drawn at random, and writes drawn at random.
QByteArray RandomFile(QRandomGenerator& random, bool plain)
{
    QByteArray file;
    for (int n = random.bounded(12); n > 0; --n) {
        const bool odd = !plain && random.bounded(2);
        file += odd ? kOddLines[random.bounded(int(std::size(kOddLines)))]
                    : kPlainLines[random.bounded(int(std::size(kPlainLines)))];
        file += plain || random.bounded(2) ? "\r\n" : "\n";
    }
    return file;
}

std::vector<Write> RandomWrites(QRandomGenerator& random, bool plain)
{
    std::vector<Write> writes;
    for (int n = 1 + random.bounded(8); n > 0; --n) {
        Write w{kSections[random.bounded(int(std::size(kSections)))], kKeys[random.bounded(int(std::size(kKeys)))],
                kValues[random.bounded(int(std::size(kValues)))]};
        // Files as programs write them: no leading blank, no line break.
        if (plain && (w.value.startsWith(' ') || w.value.contains('\n')))
            w.value = w.value.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        writes.push_back(w);
    }
    return writes;
}

void WriteTheirs(const QString& path, const Write& w)
{
    QVERIFY(WritePrivateProfileStringA(ToGbk(w.section).constData(), ToGbk(w.key).constData(),
                                       ToGbk(w.value).constData(), Native(path).constData()));
}

// Read through the wide function: the narrow one hands the value back
// through the thread's code page, which is not always the system's.
QString ReadTheirs(const QString& path, const QString& section, const QString& key)
{
    wchar_t value[4096] = {};
    GetPrivateProfileStringW(reinterpret_cast<const wchar_t*>(section.utf16()),
                             reinterpret_cast<const wchar_t*>(key.utf16()), L"", value, 4096,
                             reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()));
    return QString::fromWCharArray(value);
}

// Wine's private-profile functions now and then hand back each byte of a
// value that is not ASCII as '?' (depending on what else the file holds): a
// shortcoming of Wine's, not a difference of ours, so under Wine our value so
// marred counts as the same.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

QByteArray AsWineReadsIt(const QByteArray& gbk)
{
    QByteArray marred = gbk;
    for (char& c : marred)
        if (static_cast<unsigned char>(c) >= 0x80)
            c = '?';
    return marred;
}

} // namespace

class TestIniPrivateProfile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (GetACP() != 936)
            QSKIP("the private-profile functions write names and values in the system's code page, GBK only when it "
                  "is 936 (Chinese Windows)");
        QVERIFY(dir_.isValid());
    }

    void sameBytesOnFilesAsProgramsWriteThem()
    {
        const QString ours = dir_.filePath("ours.txt"), theirs = dir_.filePath("theirs.txt");
        QRandomGenerator random(20261209);
        for (int round = 0; round < 250; ++round) {
            const QByteArray start = RandomFile(random, true);
            QVERIFY(WriteBytes(ours, start));
            QVERIFY(WriteBytes(theirs, start));
            IniBatch batch(ours);
            for (const Write& w : RandomWrites(random, true)) {
                batch.Write(w.section, w.key, w.value);
                WriteTheirs(theirs, w);
            }
            QCOMPARE(batch.Commit(), 0);
            WritePrivateProfileStringA(nullptr, nullptr, nullptr, Native(theirs).constData()); // flush
            QCOMPARE(ReadBytes(ours), ReadBytes(theirs));
        }
    }

    void sameValuesOnAnyFile()
    {
        const QString ours = dir_.filePath("ours.txt"), theirs = dir_.filePath("theirs.txt");
        QRandomGenerator random(20261208);
        for (int round = 0; round < 250; ++round) {
            const QByteArray start = RandomFile(random, false);
            QVERIFY(WriteBytes(ours, start));
            QVERIFY(WriteBytes(theirs, start));
            IniBatch batch(ours);
            for (Write w : RandomWrites(random, false)) {
                // A line break in a value is one of the differences.
                w.value.replace(QStringLiteral("\r\n"), QStringLiteral("  "));
                batch.Write(w.section, w.key, w.value);
                WriteTheirs(theirs, w);
            }
            QCOMPARE(batch.Commit(), 0);
            WritePrivateProfileStringA(nullptr, nullptr, nullptr, Native(theirs).constData());
            const IniFile file(ours);
            for (const QString& section : kSections) {
                for (const QString& key : kKeys) {
                    const QString expected = ReadTheirs(ours, section, key);
                    // The listed differences: a value's leading blank, its
                    // length.
                    const QString got = file.Value(section, key);
                    const QByteArray theirsValue = ToGbk(expected).left(kIniValueCapacity).trimmed();
                    const QByteArray oursValue = ToGbk(got).trimmed();
                    if (UnderWine() && theirsValue == AsWineReadsIt(oursValue))
                        continue;
                    QVERIFY2(oursValue == theirsValue,
                             qPrintable(QStringLiteral("[%1] %2: ours \"%3\", theirs \"%4\" in\n%5")
                                            .arg(section, key, QString::fromLatin1(oursValue.toPercentEncoding()),
                                                 QString::fromLatin1(theirsValue.toPercentEncoding()),
                                                 QString::fromLatin1(ReadBytes(ours).toPercentEncoding(" =[];")))));
                }
            }
        }
    }

    void theLeadingBlankIsTheDifference()
    {
        // The pulse type as the parameter window saves it: the blank stays
        // with us, and goes with the private-profile functions.
        const QString ours = dir_.filePath("ours.txt"), theirs = dir_.filePath("theirs.txt");
        QVERIFY(WriteBytes(ours, "[UTILITY]\r\n"));
        QVERIFY(WriteBytes(theirs, "[UTILITY]\r\n"));
        QVERIFY(WriteIniValue(ours, QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"), QStringLiteral(" 3")));
        WriteTheirs(theirs, {QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"), QStringLiteral(" 3")});
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, Native(theirs).constData());
        QCOMPARE(ReadBytes(ours), QByteArray("[UTILITY]\r\n[\xB5\xDA"
                                             "0\xD6\xE1]\r\nPULSEOUTMODE= 3\r\n"));
        QCOMPARE(ReadBytes(theirs), QByteArray("[UTILITY]\r\n[\xB5\xDA"
                                               "0\xD6\xE1]\r\nPULSEOUTMODE=3\r\n"));
        // Both read it back as "3".
        QCOMPARE(ReadIniValue(QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE"), ours), QStringLiteral("3"));
        QCOMPARE(ReadTheirs(ours, QStringLiteral("第0轴"), QStringLiteral("PULSEOUTMODE")), QStringLiteral("3"));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestIniPrivateProfile)
#include "tst_ini_privateprofile.moc"
