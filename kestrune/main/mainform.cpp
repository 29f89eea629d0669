#include "mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "calllog/calllogform.h"
#include "cardchoice.h"
#include "cardlib/binding.h"
#include "cardlib/calllog.h"
#include "cardlib/machine.h"
#include "common/message.h"
#include "common/usertext.h"
#include "common/wholefile.h"
#include "console/consoleform.h"
#include "counter/counterform.h"
#include "io/ioform.h"
#include "machine/machineform.h"
#include "motion/motionform.h"
#include "para/paraform.h"
#include "scope/scopeform.h"
#include "settings/apply.h"
#include "settings/numbertext.h"
#include "settings/state.h"
#include "settings/statuswords.h"
#include "widgets/twips.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    return label;
}

} // namespace

MainForm::MainForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kestrune演示软件(Ver 1.0)"));
    SizeTwips(this, 6795, 4545);

    LabelTitle = MakeLabel(this, "LabelTitle", QStringLiteral("Kestrune 运动控制"), SongTi(15, true));
    PlaceTwips(LabelTitle, 480, 360, 3120, 300);
    LabelTitle2 = MakeLabel(this, "LabelTitle2", QStringLiteral("四轴PCI控制卡 Brevak"), SongTi(15, true, true));
    PlaceTwips(LabelTitle2, 480, 840, 3885, 300);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(QPixmap(QStringLiteral(":/kestrune/card.png")));
    Image2->setScaledContents(true);
    PlaceTwips(Image2, 960, 1440, 2844, 1884);

    Label1 = MakeLabel(this, "Label1", QStringLiteral(" 卡号："), SongTi(9));
    PlaceTwips(Label1, 4680, 480, 855, 300);

    CoB_CardNo = new QComboBox(this);
    CoB_CardNo->setObjectName(QStringLiteral("CoB_CardNo"));
    CoB_CardNo->setEditable(true);
    CoB_CardNo->setInsertPolicy(QComboBox::NoInsert);
    CoB_CardNo->setEditText(QStringLiteral("0"));
    PlaceTwips(CoB_CardNo, 5520, 480, 855, 300);
    connect(CoB_CardNo, &QComboBox::editTextChanged, this, &MainForm::CoB_CardNo_Change);

    const auto button = [this](const char* name, const QString& caption, int top) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(SongTi(10.5));
        PlaceTwips(b, 4920, top, 1455, 495);
        return b;
    };
    CB_ParaSet = button("CB_ParaSet", QStringLiteral("参数设置"), 1080);
    CB_IoCheck = button("CB_IoCheck", QStringLiteral("I/O检测"), 1740);
    CommandCounter = button("CommandCounter", QStringLiteral("计数功能"), 2400);
    CB_TestMotion = button("CB_TestMotion", QStringLiteral("运动测试"), 3060);
    CB_Exit = button("CB_Exit", QStringLiteral("退    出"), 3720);

    SetWindowFactory(ParaWindow, [] {
        auto* form = new ParaForm;
        form->Form_Load();
        return form;
    });
    SetWindowFactory(IoWindow, [] {
        auto* form = new IoFormControl;
        form->Form_Load();
        return form;
    });
    SetWindowFactory(CounterWindow, [this] {
        auto* form = new FormCounter;
        form->SetConfigureAction([this] { OpenParaFormOnCounterTab(); });
        form->Form_Load();
        return form;
    });
    SetWindowFactory(MotionWindow, [] {
        auto* form = new MotionForm;
        form->Form_Load();
        return form;
    });

    // Tools that the card's own program never had: a right-click menu on the
    // main window, so that the window's own controls keep their places.
    SetWindowFactory(CallLogWindow, [this] {
        auto* log = new CallLogForm;
        // A double click on a call shows its moment in the scope; a row's
        // menu runs the call again in the console.
        log->SetShowMomentAction([this](double seconds) {
            if (auto* scope = qobject_cast<ScopeForm*>(OpenWindow(ScopeWindow)))
                scope->ShowMoment(seconds);
        });
        log->SetRunAgainAction([this](const QString& line) { RunInConsole(line); });
        return log;
    });
    AddTool(CallLogWindow, QStringLiteral("调用记录"), QStringLiteral("显示程序对控制卡的每一次调用和控制卡的回答"),
            QKeySequence(Qt::CTRL | Qt::Key_L));
    SetWindowFactory(ScopeWindow, [] { return new ScopeForm; });
    AddTool(ScopeWindow, QStringLiteral("示波器"),
            QStringLiteral("两根轴的命令位置、反馈位置、跟随误差和速度随时间的曲线，XY 轨迹，运动触发捕获"),
            QKeySequence(Qt::CTRL | Qt::Key_G));
    // Only the simulated card library has a machine to hold by hand.
    if (cardlib::SimulatedMachine::OfProgram().Available()) {
        SetWindowFactory(MachineWindow, [] { return new MachineForm(cardlib::SimulatedMachine::OfProgram()); });
        AddTool(MachineWindow, QStringLiteral("模拟机床"),
                QStringLiteral("模拟卡的限位、原点、报警、急停等输入：自动，或强制有效、无效；编码器滑差"),
                QKeySequence(Qt::CTRL | Qt::Key_M));
    }
    SetWindowFactory(ConsoleWindow, [] { return new ConsoleForm; });
    AddTool(ConsoleWindow, QStringLiteral("控制台"),
            QStringLiteral("输入并执行控制卡库的函数调用，写法与调用记录相同；显示回答和输出参数，Esc 停止两个窗口轴"),
            QKeySequence(Qt::CTRL | Qt::Key_K));

    // Below the card's picture, where the window has room: hidden until a
    // call fails.
    failures_ = new QPushButton(this);
    failures_->setObjectName(QStringLiteral("failureCount"));
    failures_->setFlat(true);
    failures_->setCursor(Qt::PointingHandCursor);
    failures_->setStyleSheet(QStringLiteral("QPushButton { color: rgb(200, 0, 0); text-align: left; border: none; }"));
    failures_->setToolTip(QStringLiteral("控制卡答以错误码的调用次数；单击打开调用记录，只看失败的调用"));
    PlaceTwips(failures_, 960, 3780, 3600, 300);
    failures_->hide();
    connect(failures_, &QPushButton::clicked, this, [this] {
        if (auto* log = qobject_cast<CallLogForm*>(OpenWindow(CallLogWindow)))
            log->ShowFailuresOnly();
    });
    failureTimer_ = new QTimer(this);
    failureTimer_->setInterval(500);
    connect(failureTimer_, &QTimer::timeout, this, &MainForm::ShowFailureCount);
    failureTimer_->start();

    connect(CB_ParaSet, &QPushButton::clicked, this, [this] { OpenWindow(ParaWindow); });
    connect(CB_IoCheck, &QPushButton::clicked, this, [this] { OpenWindow(IoWindow); });
    connect(CommandCounter, &QPushButton::clicked, this, [this] { OpenWindow(CounterWindow); });
    connect(CB_TestMotion, &QPushButton::clicked, this, [this] { OpenWindow(MotionWindow); });
    connect(CB_Exit, &QPushButton::clicked, this, &QWidget::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

MainForm::~MainForm() = default;

bool MainForm::Form_Load(const QString& settingsFolder)
{
    SetSettingsPaths(settingsFolder);
    QStringList wordFolders{QCoreApplication::applicationDirPath()};
    if (QDir(settingsFolder) != QDir(wordFolders[0]))
        wordFolders << settingsFolder;
    UseStatusWords(LoadStatusWords(wordFolders, cardlib::SimulatedMachine::OfProgram().Available()));
    // What saves killed before their end left behind goes now, not at the
    // next save.
    for (const QString& path : {HardwareSetPath, MotionSetPath})
        RemoveLeftoverTemporaries(path);
    const int16_t r = cardlib::tvn_board_init();
    if (r == 0) {
        ShowMessage(QStringLiteral("未找到Brevak运动控制卡，单击“确定”进入模拟演示界面！"));
    } else if (r > 1000) {
        ShowMessage(QStringLiteral("第%1张卡初始化失败，请检测硬件！").arg(r - 1000));
        Form_Unload();
        return false;
    } else if (r > 0) {
        QStringList cards;
        for (int i = 0; i < r; ++i)
            cards << QString::number(i);
        CoB_CardNo->addItems(cards);
        CurrentCardNo = 0;
        ApplyHardwareSettings(CurrentCardNo);
    }
    // A negative result changes nothing.
    return true;
}

void MainForm::ShowFailureCount()
{
    const uint64_t failures = cardlib::calllog::Failures();
    if (failures == failuresShown_)
        return;
    failuresShown_ = failures;
    failures_->setText(QStringLiteral("调用失败 %1 次").arg(failures));
    failures_->setVisible(failures > 0);
}

void MainForm::Form_Unload()
{
    windows_.CloseAll();
    if (!libraryClosed_) {
        libraryClosed_ = true;
        cardlib::tvn_board_close();
    }
}

bool MainForm::Unloaded() const { return libraryClosed_; }

void MainForm::SetWindowFactory(Window window, ChildWindows::Factory factory)
{
    factories_[window] = std::move(factory);
}

QWidget* MainForm::OpenWindow(Window window)
{
    if (!factories_[window])
        return nullptr;
    return windows_.Open(window, factories_[window]);
}

void MainForm::OpenParaFormOnCounterTab()
{
    if (auto* form = qobject_cast<ParaForm*>(OpenWindow(ParaWindow)))
        form->ShowCounterTab();
}

void MainForm::RunInConsole(const QString& line)
{
    if (auto* console = qobject_cast<ConsoleForm*>(OpenWindow(ConsoleWindow)))
        console->RunLine(line);
}

void MainForm::CoB_CardNo_Change(const QString& text)
{
    const auto card = CardNumberFromText(text);
    if (card)
        CurrentCardNo = *card;
    // A text that names no card keeps the card in use, and says so where the
    // user looks, without a box in the way of the typing.
    QPalette palette = CoB_CardNo->lineEdit()->palette();
    palette.setColor(QPalette::Text, card ? CoB_CardNo->palette().color(QPalette::Text) : QColor(255, 0, 0));
    CoB_CardNo->lineEdit()->setPalette(palette);
    CoB_CardNo->setToolTip(card ? QString()
                                : QStringLiteral("“%1”不是卡号（0 到 %2 的整数），各窗口仍在使用第 %3 张卡。")
                                      .arg(QuoteUserText(Abbreviated(text)))
                                      .arg(kLastCardNumber)
                                      .arg(CurrentCardNo));
}

void MainForm::AddTool(Window window, const QString& caption, const QString& explanation, const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QStringLiteral("tool%1").arg(window));
    action->setShortcut(shortcut);
    // From any of the program's windows, not only this one.
    action->setShortcutContext(Qt::ApplicationShortcut);
    action->setToolTip(explanation);
    action->setStatusTip(explanation);
    connect(action, &QAction::triggered, this, [this, window] { OpenWindow(window); });
    addAction(action);
    tools_ << action;
    // The tools have no button of their own: the window says where they are.
    QStringList names;
    for (const QAction* tool : std::as_const(tools_))
        names << QStringLiteral("%1（%2）").arg(tool->text(), tool->shortcut().toString(QKeySequence::NativeText));
    setToolTip(QStringLiteral("在窗口空白处单击右键可打开工具：") + names.join(QStringLiteral("、")));
}

void MainForm::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    menu.addActions(tools_);
    menu.exec(event->globalPos());
}

void MainForm::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    QCoreApplication::quit();
}
