#include "calllogmodel.h"

#include <QBrush>
#include <QColor>
#include <QFile>

#include <algorithm>

#include "settings/statuswords.h"

using namespace cardlib;

QString LogText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

bool CallFilter::Matches(const calllog::Record& record) const
{
    if (failuresOnly && !calllog::Failed(record))
        return false;
    if (hideTimerTicks && record.inTimerTick)
        return false;
    if (text.isEmpty())
        return true;
    return QLatin1String(calllog::Name(record)).contains(text, Qt::CaseInsensitive) ||
           LogText(calllog::Arguments(record)).contains(text, Qt::CaseInsensitive);
}

QString CallLine(const calllog::Record& record)
{
    return QString::number(calllog::Milliseconds(record), 'f', 3) + QLatin1Char(' ') + LogText(calllog::Line(record));
}

QString ReachText()
{
    using calllog::Ring;
    QString reads;
    const calllog::Record* oldest = calllog::Oldest(Ring::Reads);
    const calllog::Record* newest = calllog::Newest(Ring::Reads);
    if (calllog::Dropped(Ring::Reads) > 0 && oldest && newest)
        reads = QStringLiteral("定时读取保留最近 %1 秒")
                    .arg(qRound(static_cast<double>(newest->nanoseconds - oldest->nanoseconds) / 1e9));
    else
        reads = QStringLiteral("定时读取保留最近 %1 条").arg(calllog::Capacity(Ring::Reads));
    QString text = QStringLiteral("命令保留最近 %1 条，").arg(calllog::Capacity(Ring::Commands)) + reads;
    if (const uint64_t dropped = calllog::Dropped(Ring::Commands); dropped > 0)
        text += QStringLiteral("（已丢弃较早的 %1 条命令）").arg(dropped);
    return text;
}

CallLogModel::CallLogModel(QObject* parent) : QAbstractTableModel(parent) { scanned_ = 0; }

int CallLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_[0].size() + shown_[1].size());
}

int CallLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

uint64_t CallLogModel::SequenceAt(int row) const
{
    // The row-th of the two sorted lists merged: take i from the first and
    // row - i from the second, the i for which the two parts interleave.
    const auto& a = shown_[0];
    const auto& b = shown_[1];
    const size_t k = static_cast<size_t>(row);
    size_t low = k > b.size() ? k - b.size() : 0;
    size_t high = std::min(k, a.size());
    while (low < high) {
        const size_t i = low + (high - low) / 2;
        if (a[i] < b[k - i - 1])
            low = i + 1;
        else
            high = i;
    }
    const size_t i = low, j = k - low;
    if (i < a.size() && (j >= b.size() || a[i] < b[j]))
        return a[i];
    return b[j];
}

int CallLogModel::RowOf(uint64_t sequence) const
{
    size_t row = 0;
    for (const auto& list : shown_)
        row += static_cast<size_t>(std::lower_bound(list.begin(), list.end(), sequence) - list.begin());
    return static_cast<int>(row);
}

const calllog::Record& CallLogModel::RecordAt(int row) const
{
    const calllog::Record* record = calllog::Find(SequenceAt(row));
    return record ? *record : missing_;
}

QVariant CallLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const calllog::Record& record = RecordAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Time: return QString::number(calllog::Milliseconds(record), 'f', 3);
        case Function: return QLatin1String(calllog::Name(record));
        case Arguments: return LogText(calllog::Arguments(record));
        case Result:
            return calllog::AnswersStatus(record) ? CurrentStatusWords().Text(record.result)
                                                  : LogText(calllog::Result(record));
        }
        return {};
    case Qt::ForegroundRole: return calllog::Failed(record) ? QBrush(QColor(220, 0, 0)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Time || index.column() == Result ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeadings[] = {"时间 (ms)", "函数", "参数", "结果"};
    return QString::fromUtf8(kHeadings[section]);
}

void CallLogModel::DropForgotten()
{
    uint64_t oldest[2];
    for (size_t i = 0; i < 2; ++i) {
        const calllog::Record* record = calllog::Oldest(static_cast<calllog::Ring>(i));
        oldest[i] = record ? record->sequence : calllog::Total();
    }
    const auto gone = [&](size_t list, size_t at) {
        return at < shown_[list].size() && shown_[list][at] < oldest[list];
    };
    // Each pass takes one run of neighbouring rows that are all forgotten:
    // the forgotten calls of each list are its front ones, so the run starts
    // with the older of the two fronts.
    while (gone(0, 0) || gone(1, 0)) {
        const size_t start = gone(0, 0) && (!gone(1, 0) || shown_[0][0] < shown_[1][0]) ? 0 : 1;
        const uint64_t from = shown_[start][0];
        size_t at[2];
        for (size_t i = 0; i < 2; ++i)
            at[i] = static_cast<size_t>(std::lower_bound(shown_[i].begin(), shown_[i].end(), from) - shown_[i].begin());
        size_t taken[2] = {0, 0};
        for (;;) {
            const bool more0 = at[0] + taken[0] < shown_[0].size();
            const bool more1 = at[1] + taken[1] < shown_[1].size();
            if (!more0 && !more1)
                break;
            const size_t next = !more1 || (more0 && shown_[0][at[0] + taken[0]] < shown_[1][at[1] + taken[1]]) ? 0 : 1;
            if (!gone(next, at[next] + taken[next]))
                break;
            ++taken[next];
        }
        const int row = RowOf(from);
        beginRemoveRows({}, row, row + static_cast<int>(taken[0] + taken[1]) - 1);
        for (size_t i = 0; i < 2; ++i) {
            const auto begin = shown_[i].begin() + static_cast<std::ptrdiff_t>(at[i]);
            shown_[i].erase(begin, begin + static_cast<std::ptrdiff_t>(taken[i]));
        }
        endRemoveRows();
    }
}

void CallLogModel::Refresh()
{
    // A log started afresh (or stopped) has none of the calls shown.
    if (!calllog::Recording() || scanned_ > calllog::Total()) {
        beginResetModel();
        shown_[0].clear();
        shown_[1].clear();
        scanned_ = 0;
        endResetModel();
        if (!calllog::Recording())
            return;
    }
    DropForgotten();
    std::deque<uint64_t> fresh[2];
    calllog::Since since(scanned_);
    while (const calllog::Record* record = since.Next())
        if (filter_.Matches(*record))
            fresh[static_cast<size_t>(calllog::RingOf(*record))].push_back(record->sequence);
    scanned_ = calllog::Total();
    const size_t count = fresh[0].size() + fresh[1].size();
    if (count == 0)
        return;
    const int row = rowCount();
    beginInsertRows({}, row, row + static_cast<int>(count) - 1);
    for (size_t i = 0; i < 2; ++i)
        shown_[i].insert(shown_[i].end(), fresh[i].begin(), fresh[i].end());
    endInsertRows();
}

void CallLogModel::SetFilter(const CallFilter& filter)
{
    beginResetModel();
    filter_ = filter;
    shown_[0].clear();
    shown_[1].clear();
    scanned_ = 0;
    endResetModel();
    Refresh();
}

void CallLogModel::Clear()
{
    calllog::Clear();
    beginResetModel();
    shown_[0].clear();
    shown_[1].clear();
    scanned_ = calllog::Total();
    endResetModel();
}
