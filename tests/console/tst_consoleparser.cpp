// The console's reading of a typed call: the forms the call log writes and a
// person types, and for each kind of mistake a message at its column.
#include <QTest>

#include "console/consoleparser.h"

using namespace console;

namespace {

// A call as one line of text, to compare in data rows: the name, then each
// argument.
QString Render(const Call& call)
{
    QStringList parts{QString::fromLatin1(CardFunctionOf(call.function).name)};
    for (const Argument& argument : call.arguments) {
        if (const auto* i = std::get_if<int64_t>(&argument))
            parts << QString::number(*i);
        else if (const auto* d = std::get_if<double>(&argument))
            parts << QString::number(*d, 'g', QLocale::FloatingPointShortest);
        else if (const auto* ip = std::get_if<std::array<int64_t, 2>>(&argument))
            parts << QStringLiteral("[%1,%2]").arg((*ip)[0]).arg((*ip)[1]);
        else if (const auto* dp = std::get_if<std::array<double, 2>>(&argument))
            parts << QStringLiteral("[%1,%2]")
                         .arg((*dp)[0], 0, 'g', QLocale::FloatingPointShortest)
                         .arg((*dp)[1], 0, 'g', QLocale::FloatingPointShortest);
        else if (const auto* text = std::get_if<QString>(&argument))
            parts << QLatin1Char('"') + *text + QLatin1Char('"');
        else
            parts << (std::holds_alternative<Out>(argument) ? QStringLiteral("&") : QStringLiteral("NULL"));
    }
    return parts.join(QLatin1Char('|'));
}

// A message without the marks that isolate the user's text in it.
QString Plain(QString text) { return text.remove(QChar(0x2068)).remove(QChar(0x2069)); }

} // namespace

class TestConsoleParser : public QObject {
    Q_OBJECT

private slots:
    void acceptedForms_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("call");
        QTest::newRow("plain") << "tvn_t_pmove(0, 1000, 0)"
                               << "tvn_t_pmove|0|1000|0";
        QTest::newRow("blanks anywhere, ';'") << "  tvn_set_profile ( 0,400 ,2000,\t0.1,0.1 ) ; "
                                              << "tvn_set_profile|0|400|2000|0.1|0.1";
        QTest::newRow("pairs") << "tvn_arc_move([0, 1], [3000, 2000], [1000, 1000], 0)"
                               << "tvn_arc_move|[0,1]|[3000,2000]|[1000,1000]|0";
        QTest::newRow("real pairs") << "tvn_arc_move_unitmm([0,1],[-2.5, 1e3],[ .5 ,0],1)"
                                    << "tvn_arc_move_unitmm|[0,1]|[-2.5,1000]|[0.5,0]|1";
        QTest::newRow("text") << "tvn_download_firmware(0, \"a.s6x\")"
                              << "tvn_download_firmware|0|\"a.s6x\"";
        QTest::newRow("text with commas, brackets, Chinese") << "tvn_download_firmware(0, \"固件 (新), [1].s6x\")"
                                                             << "tvn_download_firmware|0|\"固件 (新), [1].s6x\"";
        QTest::newRow("out as &") << "tvn_get_position_unitmm(0, &)"
                                  << "tvn_get_position_unitmm|0|&";
        QTest::newRow("out with a value") << "tvn_get_position_unitmm(0, &12.5)"
                                          << "tvn_get_position_unitmm|0|&";
        QTest::newRow("out text with a comma") << "tvn_get_release_version(0, &\"Brevak, v(2)\") = 0"
                                               << "tvn_get_release_version|0|&";
        QTest::newRow("saved call log line") << "4339.994 tvn_set_profile(0, 400, 2000, 0.1, 0.1) = 0"
                                             << "tvn_set_profile|0|400|2000|0.1|0.1";
        QTest::newRow("result tail and ';'") << "tvn_get_equiv(1, &1) = 0;"
                                             << "tvn_get_equiv|1|&";
        QTest::newRow("hexadecimal") << "tvn_write_outport(0, 0x7FFFFFFF)"
                                     << "tvn_write_outport|0|2147483647";
        QTest::newRow("32-bit extremes") << "tvn_t_line2(-32768, -2147483648, 32767, +2147483647, 0)"
                                         << "tvn_t_line2|-32768|-2147483648|32767|2147483647|0";
        QTest::newRow("unsigned out") << "tvn_get_card_soft_version(0, &1, &NULL)"
                                      << "tvn_get_card_soft_version|0|&|&";
        QTest::newRow("null pointer") << "tvn_arc_move(NULL, [1, 2], [3, 4], 0)"
                                      << "tvn_arc_move|NULL|[1,2]|[3,4]|0";
        QTest::newRow("exponent and infinity") << "tvn_set_vector_profile(1e-3, +2E3, inf, -nan)"
                                               << "tvn_set_vector_profile|0.001|2000|inf|nan";
        QTest::newRow("no arguments") << "tvn_board_init( )"
                                      << "tvn_board_init";
    }

    void acceptedForms()
    {
        QFETCH(QString, line);
        QFETCH(QString, call);
        const Parsed parsed = ParseCall(line);
        QVERIFY2(parsed.call, qPrintable(ErrorText(line, parsed.error)));
        QCOMPARE(Render(*parsed.call).replace(QStringLiteral("-nan"), QStringLiteral("nan")), call);
    }

    void mistakes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown, two near")
            << "tvn_pmove(0, 1000, 0)" << 1 << "没有名为“tvn_pmove”的函数，是不是 tvn_t_pmove 或 tvn_s_pmove？";
        QTest::newRow("unknown, prefix left out") << " get_position(0)" << 2 << "是不是 tvn_get_position？";
        QTest::newRow("unknown, a part") << "home(0, 1, 1)" << 1 << "或 tvn_home_move？";
        QTest::newRow("unknown, nothing near") << "xyzzy(0)" << 1 << "没有名为“xyzzy”的函数。";
        QTest::newRow("no name") << "(0)" << 1 << "调用应以函数名开始";
        QTest::newRow("no '('") << "tvn_imd_stop 0" << 14 << "函数名之后应为“(”";
        QTest::newRow("too few") << "tvn_t_pmove(0, 1000)" << 20
                                 << "tvn_t_pmove 需要 3 个参数（轴号、位移、位置模式），这里有 2 个。";
        QTest::newRow("out argument left out")
            << "tvn_get_position_unitmm(0)" << 26 << "需要 2 个参数（轴号、&命令位置毫米），这里有 1 个";
        QTest::newRow("too many") << "tvn_imd_stop(0, 1)" << 17 << "需要 1 个参数（轴号），这里有 2 个";
        QTest::newRow("none taken") << "tvn_board_close(0)" << 17 << "tvn_board_close 没有参数，这里有 1 个";
        QTest::newRow("empty argument") << "tvn_t_pmove(0, , 0)" << 16 << "缺少参数“位移”";
        QTest::newRow("fraction for an integer")
            << "tvn_t_pmove(0, 1.5, 0)" << 16 << "参数“位移”应为整数（32位整数），“1.5”不是整数";
        QTest::newRow("word for an integer") << "tvn_t_pmove(0, 1000x, 0)" << 16 << "“1000x”不是数";
        QTest::newRow("16-bit range") << "tvn_t_pmove(70000, 0, 0)" << 13
                                      << "参数“轴号”超出范围：“70000”不在 -32768 到 32767 之间（16位整数）";
        QTest::newRow("32-bit range") << "tvn_t_pmove(0, 2147483648, 0)" << 16 << "不在 -2147483648 到 2147483647 之间";
        QTest::newRow("beyond 64 bits") << "tvn_t_pmove(0, -99999999999999999999, 0)" << 16 << "超出范围";
        QTest::newRow("not a number") << "tvn_set_equiv(0, abc)" << 18 << "参数“脉冲当量”应为数，“abc”不是数";
        QTest::newRow("beyond a double") << "tvn_set_equiv(0, 1e999)" << 18 << "“1e999”超出实数的范围";
        QTest::newRow("three in a pair") << "tvn_arc_move([0, 1, 2], [0, 0], [0, 0], 0)" << 14
                                         << "参数“轴号”应有 2 个值，这里有 3 个";
        QTest::newRow("out of range in a pair")
            << "tvn_arc_move([0,  70000], [0, 0], [0, 0], 0)" << 19 << "“70000”不在";
        QTest::newRow("not a pair") << "tvn_arc_move(0, [0, 0], [0, 0], 0)" << 14 << "应为两个值的数组";
        QTest::newRow("unclosed '['") << "tvn_arc_move([0, 1), 0)" << 14 << "“[”没有对应的“]”";
        QTest::newRow("unclosed '('") << "tvn_t_pmove(0, 1000, 0" << 12 << "“(”没有对应的“)”";
        QTest::newRow("unclosed quote") << "tvn_download_firmware(0, \"a.s6x)" << 26 << "引号没有闭合";
        QTest::newRow("text without quotes") << "tvn_download_firmware(0, a.s6x)" << 26 << "应为带双引号的文本";
        QTest::newRow("after the text") << "tvn_download_firmware(0, \"a\"x)" << 29 << "的文本之后还有文字";
        QTest::newRow("zero character in a text")
            << QStringLiteral("tvn_download_firmware(0, \"a") + QChar(0) + QStringLiteral("b\")") << 28
            << "的文本中有空字符";
        QTest::newRow("trailing garbage") << "tvn_t_pmove(0, 1000, 0) x" << 25 << "调用之后多出了“x”";
        QTest::newRow("& for a value") << "tvn_t_pmove(0, &, 0)" << 16 << "参数“位移”不是输出参数，不能写 &";
        QTest::newRow("value for an out") << "tvn_get_equiv(0, 5)" << 18 << "参数“脉冲当量”是输出参数，应写作 &";
        QTest::newRow("NULL for a value") << "tvn_t_pmove(NULL, 0, 0)" << 13 << "参数“轴号”不是指针";
        QTest::newRow("columns count characters")
            << "tvn_download_firmware(0, \"固件.s6x\") 多" << 36 << "调用之后多出了“多”";
        QTest::newRow("empty line") << "   " << 4 << "请输入一次调用";
    }

    void mistakes()
    {
        QFETCH(QString, line);
        QFETCH(int, column);
        QFETCH(QString, message);
        const Parsed parsed = ParseCall(line);
        QVERIFY(!parsed.call);
        QVERIFY2(Plain(parsed.error.message).contains(message), qPrintable(parsed.error.message));
        QCOMPARE(ColumnOf(line, parsed.error.at), column);
    }

    void theCaretStandsUnderThePlace()
    {
        QString line = QStringLiteral("tvn_t_pmove(0, 1.5, 0)");
        QCOMPARE(ErrorText(line, ParseCall(line).error).section(QLatin1Char('\n'), 0, 1),
                 line + QStringLiteral("\n               ^"));
        // Chinese characters are drawn twice as wide: a wide space under each.
        line = QStringLiteral("tvn_download_firmware(0, \"固件\") x");
        const QStringList lines = ErrorText(line, ParseCall(line).error).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1], QString(26, QLatin1Char(' ')) + QString(2, QChar(0x3000)) + QStringLiteral("   ^"));
        QVERIFY(lines[2].startsWith(QStringLiteral("第 32 列：")));
    }

    void theHintFollowsTheCursor_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("cursor"); // −1: the end
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("parameter");
        QTest::newRow("name only") << "tvn_set_profile" << -1 << QString() << -1;
        QTest::newRow("after '('") << "tvn_set_profile(" << -1 << "tvn_set_profile" << 0;
        QTest::newRow("third") << "tvn_set_profile(0, 400, 2" << -1 << "tvn_set_profile" << 2;
        QTest::newRow("cursor inside") << "tvn_set_profile(0, 400, 2000)" << 17 << "tvn_set_profile" << 0;
        QTest::newRow("commas of a pair and a text") << "tvn_arc_move([0, 1], [2, 3], " << -1 << "tvn_arc_move" << 2;
        QTest::newRow("comma in a text") << "tvn_download_firmware(0, \"a,b" << -1 << "tvn_download_firmware" << 1;
        QTest::newRow("after ')'") << "tvn_imd_stop(0) " << -1 << "tvn_imd_stop" << -1;
        QTest::newRow("unknown name") << "tvn_nothing(0, " << -1 << QString() << -1;
    }

    void theHintFollowsTheCursor()
    {
        QFETCH(QString, line);
        QFETCH(int, cursor);
        QFETCH(QString, function);
        QFETCH(int, parameter);
        const Typing typing = TypingAt(line, cursor < 0 ? line.size() : cursor);
        QCOMPARE(typing.function ? QString::fromLatin1(typing.function->name) : QString(), function);
        if (typing.function)
            QCOMPARE(typing.parameter, parameter);
    }

    void everyParameterHasANameAndAType()
    {
        // The names come from one table, checked against the list when the
        // console compiles; here, that they read as names.
        const CardFunction* profile = FindCardFunction(u"tvn_set_st_profile");
        QVERIFY(profile);
        QCOMPARE(ParameterText(profile->parameters[0]), QStringLiteral("轴号 16位整数"));
        QCOMPARE(ParameterText(profile->parameters[6]), QStringLiteral("S段减速时间 实数"));
        QCOMPARE(ParameterText(FindCardFunction(u"tvn_arc_move")->parameters[1]),
                 QStringLiteral("终点 [32位整数, 32位整数]"));
        QCOMPARE(ParameterText(FindCardFunction(u"tvn_get_card_version")->parameters[1]), QStringLiteral("&硬件版本"));
        QCOMPARE(TypeText(FindCardFunction(u"tvn_get_rsts")->result), QStringLiteral("无符号32位整数"));
        for (const CardFunction& function : CardFunctions())
            for (const Parameter& p : function.parameters)
                QVERIFY2(p.name && *p.name, function.name);
    }
};

QTEST_GUILESS_MAIN(TestConsoleParser)
#include "tst_consoleparser.moc"
