#include <QTest>

#include "main/cardchoice.h"
#include "settings/numbertext.h"

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void number_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("value");
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("negative half") << "-2.5" << true << -2;
        QTest::newRow("leading blank") << " 3" << true << 3;
        QTest::newRow("tab and sign") << "\t+7x" << true << 7;
        QTest::newRow("exponent") << "1e2" << true << 100;
        QTest::newRow("exponent without digits") << "1e" << true << 1;
        QTest::newRow("fraction only") << ".6" << true << 1;
        QTest::newRow("trailing text") << "12abc" << true << 12;
        QTest::newRow("letters") << "abc" << true << 0;
        QTest::newRow("empty") << "" << true << 0;
        QTest::newRow("sign only") << "-" << true << 0;
        QTest::newRow("inner blank stops") << "1 2" << true << 1;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("smallest") << "-32768" << true << -32768;
        QTest::newRow("rounds past the top") << "32767.5" << false << 0;
        QTest::newRow("too large") << "40000" << false << 0;
        QTest::newRow("beyond a double") << "1e999" << false << 0;
        QTest::newRow("below a double") << "1e-999" << true << 0;
    }

    void number()
    {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(int, value);
        const auto n = SettingsNumber(text);
        QCOMPARE(n.has_value(), fits);
        if (fits)
            QCOMPARE(int(*n), value);
    }

    void flag_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("double zero") << "00" << 1;
        QTest::newRow("blank zero") << " 0" << 1;
        QTest::newRow("word") << "no" << 1;
    }

    void flag()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(SettingsFlag(text)), value);
    }

    void cardNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("card"); // -1: names no card
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("one with blanks") << " 1 " << 1;
        QTest::newRow("plus") << "+2" << 2;
        QTest::newRow("last") << "8191" << 8191;
        QTest::newRow("axis numbers would overflow") << "8192" << -1;
        QTest::newRow("beyond 16 bits") << "40000" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("decimal") << "1.0" << -1;
        QTest::newRow("hexadecimal") << "0x1" << -1;
        QTest::newRow("full-width digit") << "１" << -1;
        QTest::newRow("leading zeros") << "0000001" << 1;
        QTest::newRow("many leading zeros") << QString(100, '0') + "8191" << 8191;
        QTest::newRow("many digits") << QString(100, '9') << -1;
        QTest::newRow("plus alone") << "+" << -1;
    }

    void cardNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, card);
        const auto n = CardNumberFromText(text);
        QCOMPARE(n ? int(*n) : -1, card);
    }

    void hex32_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value"); // -1: no number
        QTest::newRow("digits") << "1aF" << qint64(0x1AF);
        QTest::newRow("blanks around") << " FF " << qint64(0xFF);
        QTest::newRow("leading zeros") << "000000000001" << qint64(1);
        QTest::newRow("widest") << "FFFFFFFF" << qint64(0xFFFFFFFF);
        QTest::newRow("too wide") << "100000000" << qint64(-1);
        QTest::newRow("blank after zeros") << "0 1" << qint64(-1);
        QTest::newRow("blank inside") << "1 2" << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }

    void hex32()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        const auto n = Hex32(text);
        QCOMPARE(n ? qint64(*n) : qint64(-1), value);
    }

    void typedTextInMessages()
    {
        QCOMPARE(Abbreviated(QString(32, 'x')), QString(32, 'x'));
        QCOMPARE(Abbreviated(QString(10000, '7')), QString(32, '7') + "…");
        QVERIFY(IsNumberText("1e400"));
        QVERIFY(IsNumberText(QString(400, '9')));
        QVERIFY(!IsNumberText("2,000"));
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
