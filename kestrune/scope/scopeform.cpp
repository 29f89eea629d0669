#include "scopeform.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>
#include <variant>

#include "cardlib/brevak.h"
#include "cardlib/calllog.h"
#include "common/message.h"
#include "common/usertext.h"
#include "common/wholefile.h"
#include "csvreader.h"
#include "sampling.h"
#include "scopeplot.h"
#include "settings/state.h"
#include "widgets/filedialog.h"
#include "xyview.h"

namespace {

// Ten minutes at the fastest sampling (5 ms).
constexpr size_t kBufferSamples = 10 * 60 * 200;

QString Values(const Sample& s)
{
    QString text;
    for (int axis = 0; axis < 2; ++axis)
        text += QStringLiteral("　第%1轴 命令 %2 反馈 %3 误差 %4 速度 %5")
                    .arg(axis)
                    .arg(ValueText(s.command[axis]), ValueText(s.encoder[axis]), ValueText(s.Error(axis)),
                         ValueText(s.speed[axis]));
    return text;
}

} // namespace

ScopeForm::ScopeForm(QWidget* parent) : QWidget(parent), buffer_(kBufferSamples)
{
    setObjectName(QStringLiteral("ScopeForm"));
    setWindowTitle(QStringLiteral("示波器"));
    resize(980, 720);

    auto* about = new QLabel(QStringLiteral("所用控制卡第0轴、第1轴的命令位置、反馈位置、跟随误差和速度随时间的变化。"
                                            "单击曲线放置光标 A、B；暂停后可拖动、用滚轮缩放。"),
                             this);
    about->setWordWrap(true);

    period_ = new QComboBox(this);
    period_->setObjectName(QStringLiteral("period"));
    for (int ms : {5, 10, 20, 50})
        period_->addItem(QStringLiteral("%1 ms").arg(ms), ms);
    period_->setCurrentIndex(1);
    period_->setToolTip(QStringLiteral("每隔多久读一次两轴的位置和速度"));
    windowLength_ = new QComboBox(this);
    windowLength_->setObjectName(QStringLiteral("window"));
    for (int s : {2, 5, 10, 30, 60})
        windowLength_->addItem(QStringLiteral("%1 s").arg(s), s);
    windowLength_->setCurrentIndex(2);
    windowLength_->setToolTip(QStringLiteral("曲线横轴显示的时间长度"));
    pause_ = new QPushButton(QStringLiteral("暂停"), this);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    pause_->setToolTip(QStringLiteral("冻结显示，可前后翻看缓冲中的数据；采样照常进行"));
    trigger_ = new QPushButton(QStringLiteral("运动触发"), this);
    trigger_->setObjectName(QStringLiteral("trigger"));
    trigger_->setCheckable(true);
    trigger_->setToolTip(QStringLiteral("任一轴开始运动时开始记录，两轴都静止一段时间后停止，然后显示整段记录"));
    hold_ = new QDoubleSpinBox(this);
    hold_->setObjectName(QStringLiteral("hold"));
    hold_->setRange(0.05, 10);
    hold_->setSingleStep(0.1);
    hold_->setValue(0.5);
    hold_->setSuffix(QStringLiteral(" s"));
    hold_->setToolTip(QStringLiteral("两轴都静止这么久后停止记录"));
    triggerSource_ = new QComboBox(this);
    triggerSource_->setObjectName(QStringLiteral("triggerSource"));
    for (int source = 0; source < kTriggerSources; ++source)
        triggerSource_->addItem(TriggerSourceName(source), source);
    triggerSource_->setToolTip(QStringLiteral("触发看哪个量：一条曲线越过电平，或一个信号变为有效、无效"));
    triggerLevel_ = new QDoubleSpinBox(this);
    triggerLevel_->setObjectName(QStringLiteral("triggerLevel"));
    triggerLevel_->setRange(-2147483648.0, 2147483647.0);
    triggerLevel_->setDecimals(1);
    triggerLevel_->setToolTip(QStringLiteral("曲线越过这个值时触发（脉冲，速度为脉冲/秒）；信号不用电平"));
    triggerEdge_ = new QComboBox(this);
    triggerEdge_->setObjectName(QStringLiteral("triggerEdge"));
    triggerEdge_->addItems({QStringLiteral("上升沿"), QStringLiteral("下降沿"), QStringLiteral("双沿")});
    triggerEdge_->setToolTip(QStringLiteral("上升沿：由下向上越过电平，或信号变为有效；下降沿相反；双沿：两者皆可"));
    triggerPosition_ = new QSpinBox(this);
    triggerPosition_->setObjectName(QStringLiteral("triggerPosition"));
    triggerPosition_->setRange(0, 100);
    triggerPosition_->setValue(20);
    triggerPosition_->setSuffix(QStringLiteral(" %"));
    triggerPosition_->setToolTip(
        QStringLiteral("触发点在捕获中的位置：之前的部分（预触发）取自缓冲，捕获长度为时间窗"));
    triggerMode_ = new QComboBox(this);
    triggerMode_->setObjectName(QStringLiteral("triggerMode"));
    triggerMode_->addItems({QStringLiteral("单次"), QStringLiteral("常规"), QStringLiteral("自动")});
    triggerMode_->setToolTip(QStringLiteral("单次：捕获一次后停止；常规：每次触发都捕获并显示最新的一次；"
                                            "自动：同常规，但一个时间窗内没有触发时也显示最近的一段"));
    errorScale_ = new QComboBox(this);
    errorScale_->setObjectName(QStringLiteral("errorScale"));
    errorScale_->addItem(QStringLiteral("自动"), 0);
    for (int r : {10, 100, 1000})
        errorScale_->addItem(QStringLiteral("±%1").arg(r), r);
    errorScale_->setToolTip(QStringLiteral("跟随误差曲线的纵轴：随数据自动缩放，或固定为 ±10、±100、±1000 脉冲"));
    connect(errorScale_, &QComboBox::currentIndexChanged, this, [this] {
        const int r = errorScale_->currentData().toInt();
        plot_->SetFixedScale(1, r > 0 ? std::optional<double>(r) : std::nullopt);
    });
    arm_ = new QPushButton(QStringLiteral("触发"), this);
    arm_->setObjectName(QStringLiteral("arm"));
    arm_->setCheckable(true);
    arm_->setToolTip(QStringLiteral("按上面的条件等待触发，捕获触发前后一个时间窗长的数据，时间从触发点算起"));
    connect(triggerSource_, &QComboBox::currentIndexChanged, this,
            [this](int source) { triggerLevel_->setEnabled(!IsSignalSource(source)); });

    live_ = new QPushButton(QStringLiteral("实时"), this);
    live_->setObjectName(QStringLiteral("live"));
    live_->setToolTip(QStringLiteral("回到实时显示"));
    auto* open = new QPushButton(QStringLiteral("打开…"), this);
    open->setToolTip(QStringLiteral("打开保存过的 CSV 文件查看；查看时停止采样"));
    auto* csv = new QPushButton(QStringLiteral("导出 CSV…"), this);
    csv->setToolTip(QStringLiteral("把当前显示的时间范围内的采样存为 CSV 文件（逗号分隔），可用“打开…”或表格软件查看；"
                                   "要导出更长的一段，先暂停并缩小"));
    auto* png = new QPushButton(QStringLiteral("导出 PNG…"), this);
    png->setToolTip(QStringLiteral("把当前显示的曲线存为 PNG 图片"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("采样周期"), this));
    controls->addWidget(period_);
    controls->addWidget(new QLabel(QStringLiteral("时间窗"), this));
    controls->addWidget(windowLength_);
    controls->addWidget(pause_);
    controls->addWidget(trigger_);
    controls->addWidget(new QLabel(QStringLiteral("静止后停止"), this));
    controls->addWidget(hold_);
    controls->addWidget(live_);
    controls->addStretch();
    for (QWidget* w : {open, csv, png})
        controls->addWidget(w);

    auto* triggerRow = new QHBoxLayout;
    for (auto [caption, control] :
         std::initializer_list<std::pair<const char*, QWidget*>>{{"触发源", triggerSource_},
                                                                 {"电平", triggerLevel_},
                                                                 {"边沿", triggerEdge_},
                                                                 {"触发位置", triggerPosition_},
                                                                 {"方式", triggerMode_}}) {
        triggerRow->addWidget(new QLabel(QString::fromUtf8(caption), this));
        triggerRow->addWidget(control);
    }
    triggerRow->addWidget(arm_);
    triggerRow->addStretch();
    triggerRow->addWidget(new QLabel(QStringLiteral("误差刻度"), this));
    triggerRow->addWidget(errorScale_);
    auto* split = new QCheckBox(QStringLiteral("位置分轴"), this);
    split->setObjectName(QStringLiteral("splitPositions"));
    split->setToolTip(QStringLiteral("两个轴的位置各画在自己的一栏里，各自缩放；不勾选时画在同一栏"));
    triggerRow->addWidget(split);

    plot_ = new ScopePlot(this);
    plot_->SetSource(&buffer_);
    auto* channels = new QGridLayout;
    for (int c = 0; c < kChannels; ++c) {
        channels_[c] = new QCheckBox(ChannelName(c), this);
        channels_[c]->setObjectName(QStringLiteral("channel%1").arg(c));
        channels_[c]->setChecked(plot_->ChannelShown(c));
        channels_[c]->setToolTip(ChannelAt(c).quantity == Quantity::Encoder
                                     ? QStringLiteral("显示或隐藏这条曲线（反馈位置画成虚线）")
                                     : QStringLiteral("显示或隐藏这条曲线"));
        channels_[c]->setStyleSheet(QStringLiteral("color: %1;").arg(ScopePlot::ChannelColour(c).name()));
        channels->addWidget(channels_[c], c / 4, c % 4);
        connect(channels_[c], &QCheckBox::toggled, this, [this, c](bool on) { plot_->SetChannelShown(c, on); });
    }

    connect(split, &QCheckBox::toggled, plot_, &ScopePlot::SetPositionsSplit);

    xy_ = new XyView(this);
    xy_->SetSource(&buffer_);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(plot_, QStringLiteral("时间曲线"));
    tabs_->addTab(xy_, QStringLiteral("XY 轨迹"));

    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("readout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for its three lines from the start, so that the plot keeps its
    // size when a cursor is placed.
    readout_->setText(QStringLiteral("A：\nB：\nB − A：Δt"));
    readout_->setMinimumHeight(readout_->sizeHint().height());
    readout_->clear();
    readout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(controls);
    layout->addLayout(triggerRow);
    layout->addLayout(channels);
    layout->addWidget(tabs_, 1);
    layout->addWidget(readout_);
    layout->addWidget(status_);

    connect(period_, &QComboBox::currentIndexChanged, this, [this] { SetPeriod(period_->currentData().toInt()); });
    connect(windowLength_, &QComboBox::currentIndexChanged, this,
            [this] { SetWindowSeconds(windowLength_->currentData().toDouble()); });
    connect(pause_, &QPushButton::toggled, this, &ScopeForm::Pause);
    connect(trigger_, &QPushButton::toggled, this, &ScopeForm::ArmCapture);
    connect(arm_, &QPushButton::toggled, this, &ScopeForm::ArmTrigger);
    connect(live_, &QPushButton::clicked, this, &ScopeForm::ShowLive);
    connect(open, &QPushButton::clicked, this, &ScopeForm::OpenCsv);
    connect(csv, &QPushButton::clicked, this, &ScopeForm::ExportCsv);
    connect(png, &QPushButton::clicked, this, &ScopeForm::ExportPng);
    connect(plot_, &ScopePlot::CursorsChanged, this, &ScopeForm::ShowCursors);
    connect(plot_, &ScopePlot::RangeChanged, this, [this] {
        xy_->SetRange(plot_->From(), plot_->To());
        UpdateMarks();
    });
    plot_->SetMarkText([](uint64_t sequence) {
        const cardlib::calllog::Record* record = cardlib::calllog::Find(sequence);
        return record ? QStringLiteral("%1 s　%2")
                            .arg(cardlib::calllog::Milliseconds(*record) / 1000, 0, 'f', 3)
                            .arg(QFile::decodeName(QByteArray::fromStdString(cardlib::calllog::Line(*record))))
                      : QStringLiteral("这次调用已不在调用记录中");
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { pacer_.DrawNext(); });

    clock_.start();
    sampleTimer_ = new QTimer(this);
    sampleTimer_->setTimerType(Qt::PreciseTimer);
    sampleTimer_->setInterval(10);
    connect(sampleTimer_, &QTimer::timeout, this, &ScopeForm::SampleTick);
    sampleTimer_->start();
    redrawTimer_ = new QTimer(this);
    redrawTimer_->setInterval(RedrawPacer::kFastestInterval);
    connect(redrawTimer_, &QTimer::timeout, this, &ScopeForm::Redraw);
    redrawTimer_->start();
    ShowStatus();
}

void ScopeForm::closeEvent(QCloseEvent* event)
{
    sampleTimer_->stop();
    redrawTimer_->stop();
    event->accept();
}

void ScopeForm::SampleTick()
{
    const ShareMeter::Spent spent(share_);
    const cardlib::calllog::TimerTick tick; // the call log can hide the sampling
    const bool watchInputs =
        levelTrigger_.Current() == Trigger::State::Armed && IsSignalSource(levelTrigger_.Settings().source);
    // Time from the program's start, as the call log counts it.
    const Sample sample = ReadSample(CurrentCardNo, cardlib::calllog::SecondsNow(), watchInputs);
    buffer_.Append(sample);
    if (levelTrigger_.Feed(sample))
        ShowTriggered();
    if (capture_.Feed(sample)) {
        trigger_->setChecked(false);
        ShowSamples(capture_.Samples(), QStringLiteral("运动触发捕获"), 0.0);
    } else if (capture_.Current() == MotionCapture::State::Recording && capture_.Samples().size() == 2) {
        ShowStatus();
    }
}

void ScopeForm::Redraw()
{
    const ShareMeter::Spent spent(share_);
    if (share_.Update(static_cast<double>(clock_.nsecsElapsed()) / 1e9))
        ShowStatus();
    if (!Live() || pause_->isChecked() || buffer_.Size() == 0)
        return;
    const uint64_t samples = buffer_.Dropped() + buffer_.Size();
    const double end = buffer_.At(buffer_.Size() - 1).seconds;
    const double secondsPerPixel = RedrawPacer::SecondsPerPixel(window_, plot_->width());
    redrawTimer_->setInterval(RedrawPacer::Interval(secondsPerPixel));
    if (!pacer_.Due(samples, end, secondsPerPixel))
        return;
    const double from = std::max(end - window_, buffer_.At(0).seconds);
    // Drawn now, rather than later, so that the time it takes is counted.
    if (tabs_->currentWidget() == plot_) {
        plot_->SetRange(end - window_, end);
        UpdateMarks();
        plot_->DrawNow();
    } else {
        xy_->SetRange(from, end);
        xy_->repaint();
    }
    if (plot_->Cursor(0) || plot_->Cursor(1))
        ShowCursors();
}

void ScopeForm::SetPeriod(int milliseconds)
{
    sampleTimer_->setInterval(milliseconds);
    ShowStatus();
}

void ScopeForm::SetWindowSeconds(double seconds)
{
    window_ = seconds;
    pacer_.DrawNext();
    Redraw();
}

void ScopeForm::Pause(bool paused)
{
    pause_->setText(paused ? QStringLiteral("继续") : QStringLiteral("暂停"));
    plot_->SetBrowsable(paused || !Live());
    pacer_.DrawNext();
    xy_->SetRange(plot_->From(), plot_->To());
    ShowStatus();
    Redraw();
}

void ScopeForm::ArmCapture(bool armed)
{
    if (armed)
        capture_.Arm(hold_->value(), kBufferSamples);
    else if (capture_.Current() != MotionCapture::State::Done)
        capture_.Cancel();
    if (armed && !Live())
        ShowLive();
    trigger_->setText(armed ? QStringLiteral("取消触发") : QStringLiteral("运动触发"));
    ShowStatus();
}

void ScopeForm::ArmTrigger(bool armed)
{
    if (armed) {
        TriggerSettings settings;
        settings.source = triggerSource_->currentIndex();
        settings.level = triggerLevel_->value();
        settings.edge = static_cast<TriggerSettings::Edge>(triggerEdge_->currentIndex());
        settings.position = triggerPosition_->value() / 100.0;
        settings.mode = static_cast<TriggerSettings::Mode>(triggerMode_->currentIndex());
        settings.seconds = window_;
        levelTrigger_.Arm(settings, buffer_.Size() ? buffer_.At(0).seconds : 0);
        if (!Live())
            ShowLive();
    } else {
        levelTrigger_.Cancel();
    }
    arm_->setText(armed ? QStringLiteral("停止触发") : QStringLiteral("触发"));
    ShowStatus();
}

void ScopeForm::ShowTriggered()
{
    const bool forced = levelTrigger_.Forced();
    ShowSamples(levelTrigger_.Cut(buffer_),
                forced ? QStringLiteral("自动（一个时间窗内未触发）")
                       : QStringLiteral("触发捕获（%1）").arg(TriggerSourceName(levelTrigger_.Settings().source)),
                levelTrigger_.TriggerTime());
    if (!forced)
        plot_->SetTriggerMark(0.0);
    if (levelTrigger_.Settings().mode == TriggerSettings::Mode::Single) {
        const QSignalBlocker quiet(arm_);
        arm_->setChecked(false);
        arm_->setText(QStringLiteral("触发"));
    } else {
        // Normal and Auto wait again at once: the newest capture replaces the
        // one shown.
        levelTrigger_.Arm(levelTrigger_.Settings(), buffer_.At(0).seconds);
    }
    ShowStatus();
}

void ScopeForm::UpdateMarks()
{
    std::vector<ScopePlot::Mark> marks;
    if (markOrigin_)
        for (const cardlib::calllog::Record* record :
             cardlib::calllog::CommandsBetween(plot_->From() + *markOrigin_, plot_->To() + *markOrigin_, 1000))
            marks.push_back({static_cast<double>(record->nanoseconds) / 1e9 - *markOrigin_, record->sequence});
    plot_->SetMarks(std::move(marks));
}

void ScopeForm::ShowMoment(double seconds)
{
    if (!Live())
        ShowLive();
    pause_->setChecked(true);
    plot_->SetRange(seconds - window_ / 2, seconds + window_ / 2);
    xy_->SetRange(plot_->From(), plot_->To());
    UpdateMarks();
    plot_->SetCursor(0, seconds);
    ShowStatus();
}

void ScopeForm::ShowLive()
{
    // 实时 is the newest samples, moving: a pause ends, and cursors placed in
    // a capture or a file would point at times that mean nothing here.
    if (!Live())
        plot_->ClearCursors();
    shownSamples_.reset();
    shownWhat_.clear();
    plot_->SetSource(&buffer_);
    plot_->SetTriggerMark(std::nullopt);
    markOrigin_ = 0.0;
    xy_->SetSource(&buffer_);
    {
        const QSignalBlocker quiet(pause_);
        pause_->setChecked(false);
        pause_->setText(QStringLiteral("暂停"));
    }
    plot_->SetBrowsable(false);
    if (!sampleTimer_->isActive())
        sampleTimer_->start();
    pacer_.DrawNext();
    ShowStatus();
    Redraw();
}

void ScopeForm::ShowSamples(std::vector<Sample> samples, const QString& what, std::optional<double> origin)
{
    markOrigin_ = origin;
    shownSamples_ = std::make_unique<SampleList>(std::move(samples));
    shownWhat_ = what;
    plot_->SetSource(shownSamples_.get());
    plot_->SetTriggerMark(std::nullopt);
    xy_->SetSource(shownSamples_.get());
    plot_->SetBrowsable(true);
    const SampleList& s = *shownSamples_;
    const double from = s.Size() ? s.At(0).seconds : 0;
    const double to = s.Size() ? s.At(s.Size() - 1).seconds : 1;
    plot_->SetRange(from, to > from ? to : from + 1);
    xy_->SetRange(from, to);
    UpdateMarks();
    plot_->ClearCursors();
    ShowStatus();
}

const SampleSource& ScopeForm::Shown() const
{
    return shownSamples_ ? static_cast<const SampleSource&>(*shownSamples_) : buffer_;
}

void ScopeForm::ShowCursors()
{
    const auto a = plot_->Cursor(0), b = plot_->Cursor(1);
    if (!a && !b) {
        readout_->clear();
        return;
    }
    const auto r = ReadCursors(Shown(), a.value_or(*b), b.value_or(*a));
    if (!r) {
        readout_->setText(QStringLiteral("光标处没有数据"));
        return;
    }
    // The moment as the wall clock read it too, where the time base is known.
    const auto when = [this](double seconds) {
        QString text = QStringLiteral("%1 s").arg(seconds, 0, 'f', 3);
        if (markOrigin_ && cardlib::calllog::StartedAtMilliseconds() > 0)
            text += QDateTime::fromMSecsSinceEpoch(cardlib::calllog::StartedAtMilliseconds() +
                                                   qRound64((seconds + *markOrigin_) * 1000))
                        .toString(QStringLiteral("（HH:mm:ss.zzz）"));
        return text;
    };
    QString text = QStringLiteral("A：") + when(r->a.seconds) + Values(r->a);
    if (a && b) {
        text += QStringLiteral("\nB：") + when(r->b.seconds) + Values(r->b);
        text += QStringLiteral("\nB − A：Δt %1 s").arg(r->seconds, 0, 'f', 3);
        for (int axis = 0; axis < 2; ++axis)
            text += QStringLiteral("　第%1轴 Δ位置 %2 平均速度 %3/s")
                        .arg(axis)
                        .arg(ValueText(r->distance[axis]), ValueText(r->meanSpeed[axis]));
    }
    readout_->setText(text);
}

void ScopeForm::ShowStatus()
{
    QString text;
    if (!Live()) {
        text = QStringLiteral("显示%1：%2 个采样，%3 s；点“实时”回到实时显示")
                   .arg(shownWhat_)
                   .arg(shownSamples_->Size())
                   .arg(shownSamples_->Size()
                            ? shownSamples_->At(shownSamples_->Size() - 1).seconds - shownSamples_->At(0).seconds
                            : 0,
                        0, 'f', 3);
    } else {
        const int ms = sampleTimer_->interval();
        text = QStringLiteral("实时：每 %1 ms 采样一次").arg(ms);
        // What the timer really gave: the operating system wakes it late at
        // times, and the plot is drawn from the times the samples were read.
        if (const auto gaps = SampleIntervals(buffer_, 1000))
            text += QStringLiteral("（实测间隔中位 %1 ms，99% 不超过 %2 ms）")
                        .arg(gaps->median * 1000, 0, 'f', 1)
                        .arg(gaps->p99 * 1000, 0, 'f', 1);
        text += QStringLiteral("，缓冲保留最近 %1 分钟").arg(kBufferSamples * ms / 60000);
        if (pause_->isChecked())
            text += QStringLiteral("（已暂停显示）");
        if (share_.Share() >= 0)
            text += QStringLiteral("　示波器自身占用处理器 %1%").arg(100 * share_.Share(), 0, 'f', 2);
    }
    switch (levelTrigger_.Current()) {
    case Trigger::State::Armed:
        text += QStringLiteral("　触发：等待%1…").arg(TriggerSourceName(levelTrigger_.Settings().source));
        break;
    case Trigger::State::Triggered: text += QStringLiteral("　触发：已触发，记录触发后的部分…"); break;
    default: break;
    }
    switch (capture_.Current()) {
    case MotionCapture::State::Armed: text += QStringLiteral("　运动触发：等待运动…"); break;
    case MotionCapture::State::Recording: text += QStringLiteral("　运动触发：记录中…"); break;
    default: break;
    }
    status_->setText(text);
}

int ScopeForm::SaveCsvTo(const QString& path) const
{
    // What is shown: the live window as it stands, or the paused, dragged or
    // zoomed view.
    double from = plot_->From(), to = plot_->To();
    if (Live() && !pause_->isChecked() && buffer_.Size() > 0) {
        to = buffer_.At(buffer_.Size() - 1).seconds;
        from = to - window_;
    }
    const auto [begin, end] = SamplesBetween(Shown(), from, to);
    return WriteWholeFile(path, ToCsv(Shown(), begin, end, Notes()));
}

QStringList ScopeForm::Notes() const
{
    QStringList notes{QStringLiteral("Kestrune 示波器：%1").arg(Live() ? QStringLiteral("实时") : shownWhat_)};
    notes << QStringLiteral("第 %1 张卡（第0轴、第1轴为库轴号 %2、%3），采样周期 %4 ms，时间窗 %5 s")
                 .arg(CurrentCardNo)
                 .arg(brevak::WindowAxis(CurrentCardNo, 0))
                 .arg(brevak::WindowAxis(CurrentCardNo, 1))
                 .arg(sampleTimer_->interval())
                 .arg(window_);
    if (shownWhat_.startsWith(QStringLiteral("触发"))) {
        const TriggerSettings& t = levelTrigger_.Settings();
        static const char* const kEdges[] = {"上升沿", "下降沿", "双沿"};
        notes << QStringLiteral("触发：%1%2 %3，触发位置 %4%，时间从触发点算起")
                     .arg(TriggerSourceName(t.source),
                          IsSignalSource(t.source) ? QString() : QStringLiteral(" 电平 ") + ValueText(t.level),
                          QString::fromUtf8(kEdges[static_cast<int>(t.edge)]))
                     .arg(qRound(t.position * 100));
    }
    notes << QStringLiteral("导出于 %1")
                 .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    return notes;
}

int ScopeForm::SavePngTo(const QString& path)
{
    // The picture with what it shows above it: a title, the settings, and
    // the legend of the channels drawn.
    const QPixmap view = tabs_->currentWidget()->grab();
    const QStringList notes = Notes();
    const QFontMetrics metrics(font());
    const int line = metrics.lineSpacing() + 2;
    const int header = 8 + line * static_cast<int>(notes.size() + 1) + 6;
    QImage image(view.width(), view.height() + header, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setFont(font());
        int y = 8 + metrics.ascent();
        for (qsizetype i = 0; i < notes.size(); ++i, y += line) {
            QFont f = font();
            f.setBold(i == 0);
            p.setFont(f);
            p.setPen(i == 0 ? Qt::black : Qt::darkGray);
            p.drawText(8, y, notes[i]);
        }
        p.setFont(font());
        int x = 8;
        for (int c = 0; c < kChannels; ++c) {
            if (!plot_->ChannelShown(c))
                continue;
            // Solid, or dashed as the encoder's traces are.
            const int swatchY = y - metrics.ascent() / 2 - 1;
            if (ChannelAt(c).quantity == Quantity::Encoder) {
                p.fillRect(x, swatchY, 7, 3, ScopePlot::ChannelColour(c));
                p.fillRect(x + 11, swatchY, 7, 3, ScopePlot::ChannelColour(c));
            } else {
                p.fillRect(x, swatchY, 18, 3, ScopePlot::ChannelColour(c));
            }
            x += 22;
            p.setPen(ScopePlot::ChannelColour(c));
            const QString name = ChannelName(c) + QStringLiteral("（%1）").arg(ChannelUnit(c));
            p.drawText(x, y, name);
            x += metrics.horizontalAdvance(name) + 14;
        }
        p.drawPixmap(0, header, view);
    }
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return EIO;
    return WriteWholeFile(path, encoded);
}

QString ScopeForm::OpenCsvFrom(const QString& path)
{
    // Read on a thread of its own, so that the window stays alive through a
    // large file, with progress and a way out.
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> bytesRead{0};
    std::atomic<bool> done{false};
    std::variant<std::vector<Sample>, CsvError, CsvCancelled> read;
    std::thread reader([&] {
        read = ReadCsvFile(path, kMostFileSamples, cancel, bytesRead);
        done = true;
    });
    const QString name = QFileInfo(path).fileName();
    const double size = std::max<double>(static_cast<double>(QFileInfo(path).size()), 1);
    QProgressDialog progress(QStringLiteral("正在读取“%1”……").arg(QuoteUserText(name)), QStringLiteral("取消"), 0, 1000,
                             this);
    progress.setWindowTitle(QStringLiteral("打开示波器数据"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QEventLoop waiting;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &waiting, [&] {
        if (done) {
            waiting.quit();
            return;
        }
        if (progress.wasCanceled())
            cancel = true;
        progress.setValue(static_cast<int>(1000 * static_cast<double>(bytesRead) / size));
    });
    poll.start(30);
    if (!done)
        waiting.exec();
    reader.join();
    progress.reset();

    if (std::holds_alternative<CsvCancelled>(read))
        return {};
    if (const auto* error = std::get_if<CsvError>(&read))
        return error->line == 0 ? error->reason : QStringLiteral("第 %1 行：%2").arg(error->line).arg(error->reason);
    sampleTimer_->stop();
    ShowSamples(std::move(std::get<std::vector<Sample>>(read)), QStringLiteral("文件 %1").arg(name));
    return {};
}

void ScopeForm::OpenCsv()
{
    const QString path = AskOpenPath(this, QStringLiteral("打开示波器数据"), QDir::homePath(),
                                     QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    if (const QString why = OpenCsvFrom(path); !why.isEmpty())
        ShowMessage(QStringLiteral("无法打开文件“%1”：%2").arg(QuoteUserText(QDir::toNativeSeparators(path)), why),
                    this);
}

void ScopeForm::ExportCsv()
{
    const QString path = AskSavePath(this, QStringLiteral("导出 CSV"), QDir::homePath(),
                                     QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    if (const int error = SaveCsvTo(path))
        ShowMessage(QStringLiteral("数据未能保存到文件“%1”：%2。")
                        .arg(QuoteUserText(QDir::toNativeSeparators(path)), WriteErrorText(error)),
                    this);
}

void ScopeForm::ExportPng()
{
    const QString path = AskSavePath(this, QStringLiteral("导出 PNG"), QDir::homePath(),
                                     QStringLiteral("PNG 图片 (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    if (const int error = SavePngTo(path))
        ShowMessage(QStringLiteral("图片未能保存到文件“%1”：%2。")
                        .arg(QuoteUserText(QDir::toNativeSeparators(path)), WriteErrorText(error)),
                    this);
}
