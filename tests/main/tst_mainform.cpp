#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/message.h"
#include "main/mainform.h"
#include "settings/state.h"
#include "support/files.h"
#include "support/standin.h"

namespace {

// A test window that notes, when it closes, its name and whether the card
// library was still open.
class ProbeWindow : public QWidget {
public:
    ProbeWindow(QString name, QStringList* log) : name_(std::move(name)), log_(log) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        const bool libraryOpen = RecordedCalls(QStringLiteral("tvn_board_close")).isEmpty();
        *log_ << name_ + (libraryOpen ? QString() : QStringLiteral(" after close"));
        event->accept();
    }

private:
    QString name_;
    QStringList* log_;
};

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir_.isValid());
        messages_.clear();
        SetMessageHook([this](const QString& title, const QString& text) { messages_ << title + "|" + text; });
        CurrentCardNo = 7;
    }

    void cleanup() { SetMessageHook({}); }

    void startUp_data()
    {
        QTest::addColumn<int>("cards");      // simulated cards
        QTest::addColumn<int>("initResult"); // scripted tvn_board_init, or -9999 for the simulation's
        QTest::addColumn<bool>("keepsRunning");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("applied");
        QTest::newRow("no card") << 0 << -9999 << true
                                 << "Kestrune|未找到Brevak运动控制卡，单击“确定”进入模拟演示界面！" << 0 << false;
        QTest::newRow("two cards") << 2 << -9999 << true << QString() << 2 << true;
        QTest::newRow("a thousand cards") << 1 << 1000 << true << QString() << 1000 << true;
        QTest::newRow("second card failed")
            << 1 << 1002 << false << "Kestrune|第2张卡初始化失败，请检测硬件！" << 0 << false;
        QTest::newRow("negative result") << 1 << -1 << true << QString() << 0 << false;
    }

    void startUp()
    {
        QFETCH(int, cards);
        QFETCH(int, initResult);
        QFETCH(bool, keepsRunning);
        QFETCH(QString, message);
        QFETCH(int, items);
        QFETCH(bool, applied);

        FreshCards(cards);
        if (initResult != -9999)
            tolvane::control::QueueResults("tvn_board_init", {double(initResult)});
        MainForm form;
        QCOMPARE(form.Form_Load(dir_.path()), keepsRunning);
        QCOMPARE(HardwareSetPath, dir_.path() + "/hardware_set.txt");
        QCOMPARE(MotionSetPath, dir_.path() + "/Motion_set.txt");
        QCOMPARE(messages_, message.isEmpty() ? QStringList() : QStringList{message});

        auto* selector = form.findChild<QComboBox*>(QStringLiteral("CoB_CardNo"));
        QCOMPARE(selector->count(), items);
        QCOMPARE(selector->currentText(), QStringLiteral("0"));
        if (items > 0)
            QCOMPARE(selector->itemText(items - 1), QString::number(items - 1));

        const QStringList calls = RecordedCalls();
        QVERIFY(calls.first().startsWith("tvn_board_init() = "));
        QCOMPARE(calls.contains("tvn_config_latch_mode(0, 1) = 0"), applied);
        QCOMPARE(calls.size(), applied ? 27 : (keepsRunning ? 1 : 2));
        if (!keepsRunning) {
            QCOMPARE(calls.last(), QStringLiteral("tvn_board_close() = 0"));
            QVERIFY(form.Unloaded());
        } else {
            // The library closes when the window does, once.
            form.close();
            form.Form_Unload();
            QCOMPARE(RecordedCalls(QStringLiteral("tvn_board_close")).size(), 1);
        }
    }

    void choosingACardSetsCurrentCardNoOnly()
    {
        FreshCards(2);
        MainForm form;
        form.Form_Load(dir_.path());
        QCOMPARE(CurrentCardNo, int16_t(0));
        tolvane::control::ClearCalls();

        auto* selector = form.findChild<QComboBox*>(QStringLiteral("CoB_CardNo"));
        selector->setCurrentIndex(1);
        QCOMPARE(CurrentCardNo, int16_t(1));
        selector->setEditText(QStringLiteral("0"));
        QCOMPARE(CurrentCardNo, int16_t(0));
        QTest::keyClicks(selector->lineEdit(), QStringLiteral("3")); // "03"
        QCOMPARE(CurrentCardNo, int16_t(3));
        const QColor normal = selector->lineEdit()->palette().color(QPalette::Text);
        selector->setEditText(QStringLiteral("abc"));
        QCOMPARE(CurrentCardNo, int16_t(3));
        // A text that names no card shows plainly, with no box.
        for (const char* text : {"9000", "-1"}) {
            selector->setEditText(QLatin1String(text));
            QCOMPARE(selector->lineEdit()->palette().color(QPalette::Text), QColor(255, 0, 0));
            QVERIFY(selector->toolTip().contains(QStringLiteral("第 3 张卡")));
        }
        QVERIFY(messages_.isEmpty());
        selector->setEditText(QStringLiteral("2"));
        QCOMPARE(selector->lineEdit()->palette().color(QPalette::Text), normal);
        QCOMPARE(selector->toolTip(), QString());
        selector->setEditText(QStringLiteral("3"));
        selector->setEditText(QStringLiteral("40000"));
        QCOMPARE(CurrentCardNo, int16_t(3));
        selector->setEditText(QString());
        QCOMPARE(CurrentCardNo, int16_t(3));
        QVERIFY(RecordedCalls().isEmpty()); // no settings applied on a choice
        form.Form_Unload();
    }

    void layoutFollowsTheTwips()
    {
        FreshCards(1);
        MainForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Kestrune演示软件(Ver 1.0)"));
        QCOMPARE(form.size(), QSize(453, 303));
        const auto geometry = [&](const char* name) {
            return form.findChild<QWidget*>(QLatin1String(name))->geometry();
        };
        QCOMPARE(geometry("LabelTitle"), QRect(32, 24, 208, 20));
        QCOMPARE(geometry("Image2"), QRect(64, 96, 190, 126));
        QCOMPARE(geometry("CoB_CardNo"), QRect(368, 32, 57, 20));
        QCOMPARE(geometry("CB_ParaSet"), QRect(328, 72, 97, 33));
        QCOMPARE(geometry("CB_Exit"), QRect(328, 248, 97, 33));
        QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("CB_Exit"))->text(), QStringLiteral("退    出"));
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("LabelTitle2"))->text(),
                 QStringLiteral("四轴PCI控制卡 Brevak"));
        QVERIFY(!form.findChild<QLabel*>(QStringLiteral("Image2"))->pixmap().isNull());
        QVERIFY(form.findChild<QLabel*>(QStringLiteral("LabelTitle2"))->font().italic());
    }

    void theWindowsCallEachThingByOneName()
    {
        // The motion window says 命令位置 and EL-: the tools say the same.
        FreshCards(1);
        MainForm form;
        form.Form_Load(dir_.path());
        QStringList texts;
        for (int w = 0; w < MainForm::WindowCount; ++w) {
            QWidget* window = form.OpenWindow(static_cast<MainForm::Window>(w));
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                texts << widget->toolTip();
                if (auto* label = qobject_cast<QLabel*>(widget))
                    texts << label->text();
                else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    texts << button->text();
                else if (auto* frame = qobject_cast<QGroupBox*>(widget))
                    texts << frame->title();
            }
        }
        for (const QString& text : std::as_const(texts)) {
            QVERIFY2(!text.contains(QStringLiteral("指令位置")), qPrintable(text));
            QVERIFY2(!text.contains(QStringLiteral("EL\u2212")), qPrintable(text));
        }
        QVERIFY(texts.join(QString()).contains(QStringLiteral("命令位置")));
        // Every control of the tools says what it does.
        QStringList silent;
        for (int w :
             {MainForm::CallLogWindow, MainForm::ScopeWindow, MainForm::MachineWindow, MainForm::ConsoleWindow}) {
            QWidget* tool = form.OpenWindow(static_cast<MainForm::Window>(w));
            for (QWidget* control : tool->findChildren<QWidget*>()) {
                const bool isControl = qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control);
                if (isControl && control->isVisibleTo(tool) && !control->objectName().startsWith(QLatin1String("qt_"))
                    && control->toolTip().isEmpty())
                    silent << tool->windowTitle() + QLatin1Char(':') + control->objectName() + QLatin1Char(':')
                                  + control->metaObject()->className();
            }
        }
        QVERIFY2(silent.isEmpty(), qPrintable(silent.join(QLatin1Char(' '))));
        // Where the tools are is said on the window itself.
        QVERIFY2(form.toolTip().contains(QStringLiteral("右键")) && form.toolTip().contains(QStringLiteral("示波器")),
                 qPrintable(form.toolTip()));
        form.Form_Unload();
    }

    void aMinimisedWindowComesBackWhenOpenedAgain()
    {
        FreshCards(1);
        MainForm form;
        form.Form_Load(dir_.path());
        for (int w = 0; w < MainForm::WindowCount; ++w) {
            const auto window = static_cast<MainForm::Window>(w);
            QWidget* opened = form.OpenWindow(window);
            opened->setWindowState(Qt::WindowMaximized);
            opened->showMinimized();
            QVERIFY(opened->isMinimized());
            QCOMPARE(form.OpenWindow(window), opened);
            QVERIFY2(!opened->isMinimized(), qPrintable(opened->windowTitle()));
            QVERIFY(opened->windowState() & Qt::WindowMaximized); // as it was before
        }
        form.Form_Unload();
    }

    void testWindowsOpenOnceAndCloseMostRecentFirst()
    {
        FreshCards(1);
        QStringList closed;
        int made = 0;
        MainForm form;
        form.Form_Load(dir_.path());
        const auto factory = [&](const QString& name) {
            return [&, name]() -> QWidget* {
                ++made;
                return new ProbeWindow(name, &closed);
            };
        };
        form.SetWindowFactory(MainForm::MotionWindow, factory(QStringLiteral("motion")));
        form.SetWindowFactory(MainForm::IoWindow, factory(QStringLiteral("io")));
        form.SetWindowFactory(MainForm::ParaWindow, factory(QStringLiteral("para")));

        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CB_TestMotion")), Qt::LeftButton);
        QWidget* motion = form.OpenWindow(MainForm::MotionWindow);
        QCOMPARE(made, 1); // the second click shows the same window
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CB_IoCheck")), Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CB_ParaSet")), Qt::LeftButton);
        QCOMPARE(made, 3);
        QVERIFY(motion->isVisible());

        // Closed by the user, the I/O window is made afresh on the next click.
        form.OpenWindow(MainForm::IoWindow)->close();
        QCOMPARE(closed, QStringList{"io"});
        form.OpenWindow(MainForm::IoWindow);
        QCOMPARE(made, 4);

        // A button without a window opens nothing.
        form.SetWindowFactory(MainForm::CounterWindow, {});
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CommandCounter")), Qt::LeftButton);
        QCOMPARE(made, 4);

        closed.clear();
        tolvane::control::ClearCalls();
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CB_Exit")), Qt::LeftButton);
        QCOMPARE(closed, (QStringList{"io", "para", "motion"}));
        QCOMPARE(RecordedCalls(), QStringList{"tvn_board_close() = 0"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void startUpRemovesWhatKilledSavesLeft()
    {
        // Temporary files of both settings files, as a save killed before
        // its rename leaves them, and files that only look alike.
        const QStringList stale = {".hardware_set.txt.Ab3dE9.tmp", ".Motion_set.txt.zz0000.tmp"};
        const QStringList kept = {".hardware_set.txt.toolong7.tmp", ".other.txt.Ab3dE9.tmp",
                                  "hardware_set.txt.Ab3dE9.tmp"};
        for (const QString& name : stale + kept)
            QVERIFY(WriteBytes(dir_.filePath(name), "half a save"));
        FreshCards(1);
        MainForm form;
        form.Form_Load(dir_.path());
        for (const QString& name : stale)
            QVERIFY2(!QFileInfo::exists(dir_.filePath(name)), qPrintable(name));
        for (const QString& name : kept)
            QVERIFY2(QFileInfo::exists(dir_.filePath(name)), qPrintable(name));
        form.Form_Unload();
    }

    void noCardCallFollowsTheClose_data()
    {
        QTest::addColumn<QList<int>>("windows");
        // The periodic card call that shows a window's timer has run.
        QTest::addColumn<QString>("periodic");
        QTest::newRow("I/O") << QList<int>{MainForm::IoWindow} << "tvn_read_inbit";
        QTest::newRow("counter") << QList<int>{MainForm::CounterWindow} << "read_dword_pld_register";
        QTest::newRow("motion") << QList<int>{MainForm::MotionWindow} << "tvn_read_current_speed";
        QTest::newRow("scope") << QList<int>{MainForm::ScopeWindow} << "tvn_read_current_speed";
        QTest::newRow("machine") << QList<int>{MainForm::MachineWindow} << QString();
        QTest::newRow("call log") << QList<int>{MainForm::CallLogWindow} << QString();
        QTest::newRow("console") << QList<int>{MainForm::ConsoleWindow} << QString();
        QTest::newRow("all") << QList<int>{MainForm::ParaWindow,    MainForm::IoWindow,      MainForm::CounterWindow,
                                           MainForm::MotionWindow,  MainForm::CallLogWindow, MainForm::ScopeWindow,
                                           MainForm::MachineWindow, MainForm::ConsoleWindow}
                             << "tvn_read_current_speed";
    }

    void noCardCallFollowsTheClose()
    {
        // Closing the program closes every window, then the card library; a
        // closed window waits for its deletion with its timers stopped, so
        // that nothing it does reaches the closed library.
        QFETCH(QList<int>, windows);
        QFETCH(QString, periodic);
        FreshCards(2);
        CurrentCardNo = 1;
        MainForm form;
        form.Form_Load(dir_.path());
        QList<QPointer<QWidget>> open;
        for (int window : windows)
            open << form.OpenWindow(static_cast<MainForm::Window>(window));
        if (!periodic.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(!RecordedCalls(periodic).isEmpty(), 30000);

        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CB_Exit")), Qt::LeftButton);
        for (const QPointer<QWidget>& window : open) {
            QVERIFY(window);
            for (const QTimer* timer : window->findChildren<QTimer*>())
                QVERIFY2(!timer->isActive(), qPrintable(window->objectName() + "/" + timer->objectName()));
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QStringList calls = RecordedCalls();
        QCOMPARE(calls.last(), QStringLiteral("tvn_board_close() = 0"));
        QCOMPARE(RecordedCalls(QStringLiteral("tvn_board_close")).size(), 1);
    }

private:
    QTemporaryDir dir_;
    QStringList messages_;
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
