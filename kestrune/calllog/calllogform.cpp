#include "calllogform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

#include "calllogmodel.h"
#include "rowdelegate.h"
#include "common/message.h"
#include "common/usertext.h"
#include "common/wholefile.h"
#include "widgets/controls.h"
#include "widgets/filedialog.h"

using namespace cardlib;

namespace {

// At most two refreshes a second: the first call shows at once, and a
// stream of reads is unreadable at any speed. The counter line, a rate per
// second, changes once a second.
constexpr int kRefreshInterval = 500;      // ms
constexpr qint64 kCountersInterval = 1000; // ms

} // namespace

CallLogForm::CallLogForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CallLogForm"));
    setWindowTitle(QStringLiteral("调用记录"));
    resize(900, 560);

    auto* about = new QLabel(QStringLiteral("程序对控制卡的每一次调用：时间、函数、参数和控制卡的回答。"
                                            "回答表示失败的调用显示为红色。双击一行，在示波器中查看那一刻。"),
                             this);
    about->setWordWrap(true);

    filterText_ = new QLineEdit(this);
    filterText_->setObjectName(QStringLiteral("filterText"));
    filterText_->setPlaceholderText(QStringLiteral("筛选：函数名或参数"));
    filterText_->setClearButtonEnabled(true);
    failuresOnly_ = new QCheckBox(QStringLiteral("只看失败"), this);
    failuresOnly_->setObjectName(QStringLiteral("failuresOnly"));
    failuresOnly_->setToolTip(QStringLiteral("只显示控制卡答以错误码（不为 0）的调用，即标红的那些"));
    hideTimerTicks_ = new QCheckBox(QStringLiteral("隐藏定时刷新"), this);
    hideTimerTicks_->setObjectName(QStringLiteral("hideTimerTicks"));
    hideTimerTicks_->setToolTip(QStringLiteral("不显示各窗口定时刷新时读取状态的调用，只留下命令"));
    pause_ = new QPushButton(QStringLiteral("暂停"), this);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    pause_->setToolTip(QStringLiteral("暂停显示；记录照常进行"));
    auto* clear = new QPushButton(QStringLiteral("清空"), this);
    clear->setObjectName(QStringLiteral("clear"));
    clear->setToolTip(QStringLiteral("删去至今记录的全部调用，从现在起重新记录"));
    auto* copy = new QPushButton(QStringLiteral("复制"), this);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setToolTip(QStringLiteral("把选中的调用复制为文本"));
    auto* save = new QPushButton(QStringLiteral("保存…"), this);
    save->setObjectName(QStringLiteral("save"));
    save->setToolTip(QStringLiteral("把显示的调用保存为文本文件，每行一次调用"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(filterText_, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{failuresOnly_, hideTimerTicks_, pause_, clear, copy, save})
        tools->addWidget(w);

    model_ = new CallLogModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("calls"));
    table_->setModel(model_);
    table_->setItemDelegate(new RowDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionResizeMode(CallLogModel::Arguments, QHeaderView::Stretch);
    table_->setColumnWidth(CallLogModel::Time, 100);
    table_->setColumnWidth(CallLogModel::Function, 210);
    table_->setColumnWidth(CallLogModel::Result, 230);
    // Ctrl+C copies whole rows, as 复制 does, not the table's current cell.
    table_->installEventFilter(this);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, &CallLogForm::ShowTableMenu);
    connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (showMoment_ && index.isValid())
            showMoment_(calllog::Milliseconds(model_->RecordAt(index.row())) / 1000);
    });

    empty_ = new QLabel(table_->viewport());
    empty_->setObjectName(QStringLiteral("emptyState"));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setStyleSheet(QStringLiteral("color: gray;"));

    counters_ = new QLabel(this);
    counters_->setObjectName(QStringLiteral("counters"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addLayout(tools);
    layout->addWidget(table_, 1);
    layout->addWidget(counters_);

    // Typing waits for a pause before the table is filtered afresh.
    filterDelay_ = new QTimer(this);
    filterDelay_->setSingleShot(true);
    filterDelay_->setInterval(250);
    connect(filterDelay_, &QTimer::timeout, this, &CallLogForm::ApplyFilter);
    connect(filterText_, &QLineEdit::textChanged, filterDelay_, qOverload<>(&QTimer::start));
    connect(failuresOnly_, &QCheckBox::toggled, this, &CallLogForm::ApplyFilter);
    connect(hideTimerTicks_, &QCheckBox::toggled, this, &CallLogForm::ApplyFilter);
    connect(pause_, &QPushButton::toggled, this, &CallLogForm::Pause);
    connect(clear, &QPushButton::clicked, this, &CallLogForm::ClearLog);
    connect(copy, &QPushButton::clicked, this, &CallLogForm::CopySelection);
    connect(save, &QPushButton::clicked, this, &CallLogForm::Save);

    timer_ = new QTimer(this);
    timer_->setInterval(kRefreshInterval);
    connect(timer_, &QTimer::timeout, this, &CallLogForm::Refresh);
    timer_->start();
    Refresh();
}

void CallLogForm::closeEvent(QCloseEvent* event)
{
    // Closed, the window waits for its deletion without refreshing.
    timer_->stop();
    filterDelay_->stop();
    event->accept();
}

void CallLogForm::Refresh()
{
    if (!pause_->isChecked()) {
        // The view follows the newest call, unless the user scrolled away.
        QScrollBar* bar = table_->verticalScrollBar();
        const bool following = bar->value() == bar->maximum();
        model_->Refresh();
        if (following)
            table_->scrollToBottom();
    }

    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    rateSamples_.emplace_back(now, calllog::Total());
    // A new failure shows at once; the rest waits for the second to pass.
    if (calllog::Failures() == countedFailures_ && now - countersShown_ < kCountersInterval &&
        pause_->isChecked() == countersPaused_ && calllog::Recording() == countersRecording_) {
        ShowEmptyState();
        return;
    }
    countersShown_ = now;
    countedFailures_ = calllog::Failures();
    countersPaused_ = pause_->isChecked();
    countersRecording_ = calllog::Recording();
    while (rateSamples_.size() > 2 && now - rateSamples_[1].first >= 1000)
        rateSamples_.pop_front();
    const auto& [since, calls] = rateSamples_.front();
    const double perSecond =
        now > since ? 1000.0 * static_cast<double>(calllog::Total() - calls) / static_cast<double>(now - since) : 0;
    QString text =
        QStringLiteral("每秒 %1 次调用　失败 %2 次　").arg(qRound(perSecond)).arg(calllog::Failures()) + ReachText();
    if (!calllog::Recording())
        text = QStringLiteral("调用记录没有开启");
    if (pause_->isChecked())
        text += QStringLiteral("　（已暂停显示）");
    SetTextIfChanged(counters_, text);
    ShowEmptyState();
}

void CallLogForm::ShowEmptyState()
{
    const bool none = model_->rowCount() == 0;
    if (none) {
        const CallFilter& f = model_->Filter();
        const bool filtered = !f.text.isEmpty() || f.failuresOnly || f.hideTimerTicks;
        const bool anyKept = calllog::Kept(calllog::Ring::Commands) + calllog::Kept(calllog::Ring::Reads) > 0;
        empty_->setText(!anyKept || !filtered ? QStringLiteral("还没有调用")
                                              : QStringLiteral("没有符合筛选条件的调用"));
        empty_->setGeometry(table_->viewport()->rect());
    }
    empty_->setVisible(none);
}

void CallLogForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    empty_->setGeometry(table_->viewport()->rect());
}

void CallLogForm::ApplyFilter()
{
    CallFilter filter;
    filter.text = filterText_->text().trimmed();
    filter.failuresOnly = failuresOnly_->isChecked();
    filter.hideTimerTicks = hideTimerTicks_->isChecked();
    model_->SetFilter(filter);
    table_->scrollToBottom();
    ShowEmptyState();
}

void CallLogForm::ShowFailuresOnly()
{
    const QSignalBlocker text(filterText_), failures(failuresOnly_), ticks(hideTimerTicks_);
    filterText_->clear();
    filterDelay_->stop();
    hideTimerTicks_->setChecked(false);
    failuresOnly_->setChecked(true);
    ApplyFilter();
}

void CallLogForm::Pause(bool paused)
{
    pause_->setText(paused ? QStringLiteral("继续") : QStringLiteral("暂停"));
    Refresh();
}

void CallLogForm::ClearLog()
{
    model_->Clear();
    rateSamples_.clear();
    Refresh();
}

QStringList CallLogForm::SelectedLines(QString (*line)(const cardlib::calllog::Record&)) const
{
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    QStringList lines;
    for (int row : rows)
        lines << line(model_->RecordAt(row));
    return lines;
}

void CallLogForm::CopySelection()
{
    if (const QStringList lines = SelectedLines(CallLine); !lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

namespace {

// A call as typed, without time or result: "tvn_t_pmove(0, 1000, 0)".
QString TypedCall(const cardlib::calllog::Record& record)
{
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(cardlib::calllog::Name(record)),
                                        LogText(cardlib::calllog::Arguments(record)));
}

} // namespace

void CallLogForm::CopySelectionAsCalls()
{
    if (const QStringList lines = SelectedLines(TypedCall); !lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void CallLogForm::SetRunAgainAction(std::function<void(const QString& call)> action) { runAgain_ = std::move(action); }

void CallLogForm::RunAgain(int row)
{
    if (runAgain_ && row >= 0 && row < model_->rowCount())
        runAgain_(TypedCall(model_->RecordAt(row)));
}

void CallLogForm::ShowOnlyFunctionOf(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    filterText_->setText(QString::fromLatin1(cardlib::calllog::Name(model_->RecordAt(row))));
    ApplyFilter();
}

void CallLogForm::ShowTableMenu(const QPoint& at)
{
    const QModelIndex index = table_->indexAt(at);
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    QAction* copy = menu.addAction(QStringLiteral("复制"), this, &CallLogForm::CopySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setToolTip(QStringLiteral("选中的调用，每行一次，带时间和结果"));
    QAction* asCalls = menu.addAction(QStringLiteral("复制为调用"), this, &CallLogForm::CopySelectionAsCalls);
    asCalls->setToolTip(QStringLiteral("选中的调用，不带时间和结果，如 tvn_t_pmove(0, 1000, 0)；可在控制台中执行"));
    const bool selected = table_->selectionModel()->hasSelection();
    copy->setEnabled(selected);
    asCalls->setEnabled(selected);
    if (index.isValid()) {
        const QString name = QString::fromLatin1(cardlib::calllog::Name(model_->RecordAt(index.row())));
        menu.addSeparator();
        menu.addAction(QStringLiteral("只看 %1").arg(name), this,
                       [this, row = index.row()] { ShowOnlyFunctionOf(row); });
        if (runAgain_) {
            QAction* again = menu.addAction(QStringLiteral("在控制台中再次执行"), this,
                                            [this, row = index.row()] { RunAgain(row); });
            again->setToolTip(QStringLiteral("打开控制台，在那里执行这一行的调用（运动同样只用于窗口轴）"));
        }
    }
    menu.exec(table_->viewport()->mapToGlobal(at));
}

bool CallLogForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            if (event->type() == QEvent::KeyPress)
                CopySelection();
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int CallLogForm::SaveTo(const QString& path) const
{
    QString text;
    for (int row = 0; row < model_->rowCount(); ++row)
        text += CallLine(model_->RecordAt(row)) + QLatin1Char('\n');
    return WriteWholeFile(path, text.toUtf8());
}

void CallLogForm::Save()
{
    const QString path =
        AskSavePath(this, QStringLiteral("保存调用记录"), QDir::homePath() + QStringLiteral("/调用记录.txt"),
                    QStringLiteral("文本文件 (*.txt);;所有文件 (*)"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (const int error = SaveTo(path))
        ShowMessage(QStringLiteral("调用记录未能保存到文件“%1”：%2。")
                        .arg(QuoteUserText(QDir::toNativeSeparators(path)), WriteErrorText(error)),
                    this);
}
