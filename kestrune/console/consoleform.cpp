#include "consoleform.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStringListModel>
#include <QTextCursor>
#include <QVBoxLayout>

#include "cardlib/brevak.h"
#include "common/wholefile.h"
#include "consoleparser.h"
#include "consolerun.h"
#include "settings/state.h"

namespace {

const QColor kFailure(220, 0, 0); // as the call log shows a failed call
const QColor kQuiet(110, 110, 110);
constexpr int kOutputLines = 5000;

QString DefaultHint()
{
    return QStringLiteral("输入函数名或其中一段（如 pmove）可从列表中选择；↑ ↓ 翻看输入过的调用；"
                          "Esc 使两个窗口轴减速停止。");
}

} // namespace

ConsoleForm::ConsoleForm(QWidget* parent) : QWidget(parent), history_(ConsoleHistoryPath())
{
    setObjectName(QStringLiteral("ConsoleForm"));
    setWindowTitle(QStringLiteral("控制台"));
    resize(820, 520);

    auto* about =
        new QLabel(QStringLiteral("直接调用控制卡库的函数，写法与调用记录相同，如 tvn_t_pmove(0, 1000, 0)；"
                                  "输出参数写作 &。每次调用都记入调用记录。运动只能用于所用控制卡的两个窗口轴。"),
                   this);
    about->setWordWrap(true);

    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("output"));
    output_->setReadOnly(true);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap); // the caret stays under its place
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setMaximumBlockCount(kOutputLines);
    output_->setUndoRedoEnabled(false); // what is appended is never taken back
    output_->setToolTip(QStringLiteral("执行过的调用：控制卡的回答、状态的含义和输出参数的值；出错和失败的显示为红色"));

    hint_ = new QLabel(DefaultHint(), this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setWordWrap(true);
    hint_->setTextFormat(Qt::RichText);
    hint_->setToolTip(QStringLiteral("正在输入的函数的参数：名称和类型，光标所在的参数为粗体"));

    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("input"));
    input_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    input_->setPlaceholderText(QStringLiteral("如 tvn_get_position(0)，回车执行"));
    input_->setToolTip(QStringLiteral("一次调用，写法与调用记录相同：数组写作 [a, b]，文本带双引号，输出参数写作 &；"
                                      "回车执行，↑ ↓ 翻看输入过的调用"));
    QStringList names;
    for (const console::CardFunction& function : console::CardFunctions())
        names << QString::fromLatin1(function.name);
    auto* completer = new QCompleter(new QStringListModel(names, this), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setMaxVisibleItems(12);
    input_->setCompleter(completer);
    // A name taken from the list is followed by its '(' and the hint.
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
            [this](const QString& name) { input_->setText(name + QLatin1Char('(')); });
    // Esc must stop the axes while the list of names is open too: this
    // filter runs before the completer's own.
    completer->popup()->installEventFilter(this);
    input_->installEventFilter(this);

    auto* run = new QPushButton(QStringLiteral("执行"), this);
    run->setObjectName(QStringLiteral("run"));
    run->setToolTip(QStringLiteral("执行输入的调用（回车）"));
    auto* stop = new QPushButton(QStringLiteral("停止（Esc）"), this);
    stop->setObjectName(QStringLiteral("stop"));
    stop->setToolTip(QStringLiteral("所用控制卡的两个窗口轴减速停止（%1 秒），控制卡拒绝时立即停止；"
                                    "在本窗口任何地方按 Esc 都一样")
                         .arg(console::kStopRamp));
    auto* clear = new QPushButton(QStringLiteral("清空"), this);
    clear->setObjectName(QStringLiteral("clearOutput"));
    clear->setToolTip(QStringLiteral("清空上面的输出；输入过的调用仍可用 ↑ ↓ 翻看"));

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(input_, 1);
    inputRow->addWidget(run);
    inputRow->addWidget(stop);
    inputRow->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(output_, 1);
    layout->addWidget(hint_);
    layout->addLayout(inputRow);

    const auto enter = [this] {
        const QString line = input_->text();
        input_->clear();
        RunLine(line);
    };
    connect(input_, &QLineEdit::returnPressed, this, enter);
    connect(run, &QPushButton::clicked, this, enter);
    connect(stop, &QPushButton::clicked, this, &ConsoleForm::StopAxes);
    connect(clear, &QPushButton::clicked, this, &ConsoleForm::ClearOutput);
    connect(input_, &QLineEdit::textChanged, this, &ConsoleForm::ShowHint);
    connect(input_, &QLineEdit::cursorPositionChanged, this, &ConsoleForm::ShowHint);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &ConsoleForm::StopAxes);

    input_->setFocus();
}

void ConsoleForm::Append(const QString& text, const QColor& colour)
{
    QTextCharFormat format;
    if (colour.isValid())
        format.setForeground(colour);
    QTextCursor cursor(output_->document());
    cursor.movePosition(QTextCursor::End);
    if (!output_->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(text, format);
    output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void ConsoleForm::RunLine(const QString& line)
{
    if (line.trimmed().isEmpty())
        return;
    history_.Add(line);
    SaveHistory();
    const console::Parsed parsed = console::ParseCall(line);
    if (!parsed.call) {
        QStringList lines = console::ErrorText(line, parsed.error).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i)
            Append((i == 0 ? QStringLiteral("> ") : QStringLiteral("  ")) + lines[i], kFailure);
        return;
    }
    Append(QStringLiteral("> ") + line, QColor());
    const console::Outcome outcome = console::Run(*parsed.call, CurrentCardNo);
    if (!outcome.refusal.isEmpty()) {
        Append(QStringLiteral("  未执行：") + outcome.refusal, kFailure);
        return;
    }
    if (!outcome.note.isEmpty())
        Append(QStringLiteral("  ") + outcome.note, QColor());
    Append(QStringLiteral("  = ") + outcome.result, outcome.failed ? kFailure : QColor());
    for (const auto& [name, value] : outcome.outs)
        Append(QStringLiteral("  &%1 = %2").arg(name, value), QColor());
}

void ConsoleForm::StopAxes()
{
    // Esc closes the list of names too, whichever of them saw the key.
    input_->completer()->popup()->hide();
    Append(QStringLiteral("Esc：所用控制卡的窗口轴 %1 和 %2 减速停止")
               .arg(brevak::WindowAxis(CurrentCardNo, 0))
               .arg(brevak::WindowAxis(CurrentCardNo, 1)),
           QColor());
    for (const QString& line : console::StopWindowAxes(CurrentCardNo))
        Append(QStringLiteral("  ") + line, QColor());
}

void ConsoleForm::ClearOutput() { output_->clear(); }

void ConsoleForm::SaveHistory()
{
    const int error = history_.Save();
    // Said once: the console works on without it.
    if (error != 0 && !historyFailed_)
        Append(QStringLiteral("（输入过的调用未能保存到“%1”：%2。）")
                   .arg(QDir::toNativeSeparators(ConsoleHistoryPath()), WriteErrorText(error)),
               kQuiet);
    historyFailed_ = error != 0;
}

void ConsoleForm::ShowHint()
{
    const console::Typing typing = console::TypingAt(input_->text(), input_->cursorPosition());
    if (!typing.function) {
        hint_->setText(DefaultHint());
        return;
    }
    const console::CardFunction& function = *typing.function;
    QStringList parameters;
    for (size_t i = 0; i < function.parameters.size(); ++i) {
        const QString text = console::ParameterText(function.parameters[i]).toHtmlEscaped();
        parameters << (static_cast<int>(i) == typing.parameter ? QStringLiteral("<b>%1</b>").arg(text) : text);
    }
    const QString result =
        function.answersStatus ? QStringLiteral("状态（0 为成功）") : console::TypeText(function.result);
    hint_->setText(QStringLiteral("%1(%2) → %3")
                       .arg(QString::fromLatin1(function.name), parameters.join(QStringLiteral(", ")), result));
}

bool ConsoleForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape && watched != input_) {
        StopAxes();
        return true;
    }
    if (watched == input_ && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const std::optional<QString> line = key == Qt::Key_Up ? history_.Older(input_->text()) : history_.Newer();
        if (line)
            input_->setText(*line);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
