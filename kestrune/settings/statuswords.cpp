#include "statuswords.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "gbk.h"

namespace {

StatusWords& Current()
{
    static StatusWords words;
    return words;
}

// UTF-8 when the bytes are UTF-8 throughout, GBK otherwise: a GBK text of
// Chinese words is almost never valid UTF-8.
QString Decode(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? FromGbk(bytes) : text;
}

} // namespace

StatusWords StatusWords::StandIn()
{
    StatusWords words;
    static const char* const kWords[] = {
        "成功",
        "没有这张卡",
        "没有这个轴",
        "参数超出范围",
        "参数是空指针",
        "固件文件不存在或无法读取",
        "轴正在运动或等待启动",
        "插补的两个轴相同或不在同一张卡上",
        "该卡正在下载固件",
        "下载被中止",
    };
    for (int64_t status = 0; status < static_cast<int64_t>(std::size(kWords)); ++status)
        words.words_[status] = QString::fromUtf8(kWords[status]);
    return words;
}

StatusWords StatusWords::Parse(const QByteArray& text)
{
    StatusWords words;
    const QStringList lines = Decode(text).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool number = false;
        const qint64 status = tab > 0 ? line.left(tab).trimmed().toLongLong(&number) : 0;
        const QString meaning = tab > 0 ? line.mid(tab + 1).trimmed() : QString();
        if (!number || meaning.isEmpty()) {
            ++words.skipped_;
            continue;
        }
        words.words_[status] = meaning.left(200);
    }
    return words;
}

QString StatusWords::Meaning(int64_t status) const
{
    const auto it = words_.find(status);
    return it == words_.end() ? QString() : it->second;
}

QString StatusWords::Text(int64_t status) const
{
    const QString meaning = Meaning(status);
    return meaning.isEmpty() ? QString::number(status) : QString::number(status) + QLatin1Char(' ') + meaning;
}

void StatusWords::Add(const StatusWords& other)
{
    for (const auto& [status, meaning] : other.words_)
        words_[status] = meaning;
    skipped_ += other.skipped_;
}

StatusWords LoadStatusWords(const QStringList& folders, bool standIn)
{
    StatusWords words = standIn ? StatusWords::StandIn() : StatusWords();
    for (const QString& folder : folders) {
        QFile file(QDir(folder).filePath(StatusWordsFileName()));
        // A file of status words is a page of text; anything far larger is
        // not one.
        if (file.size() <= 1024 * 1024 && file.open(QIODevice::ReadOnly))
            words.Add(StatusWords::Parse(file.readAll()));
    }
    return words;
}

const StatusWords& CurrentStatusWords() { return Current(); }

void UseStatusWords(StatusWords words) { Current() = std::move(words); }
