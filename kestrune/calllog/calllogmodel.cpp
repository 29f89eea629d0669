#include "calllogmodel.h"

#include <QBrush>
#include <QColor>

using namespace cardlib;

bool CallFilter::Matches(const calllog::Record& record) const
{
    if (failuresOnly && !calllog::Failed(record))
        return false;
    if (hideTimerTicks && record.inTimerTick)
        return false;
    if (text.isEmpty())
        return true;
    return QLatin1String(calllog::Name(record)).contains(text, Qt::CaseInsensitive) ||
           QString::fromStdString(calllog::Arguments(record)).contains(text, Qt::CaseInsensitive);
}

QString CallLine(const calllog::Record& record)
{
    return QString::number(calllog::Milliseconds(record), 'f', 3) + QLatin1Char(' ') +
           QString::fromStdString(calllog::Line(record));
}

CallLogModel::CallLogModel(QObject* parent) : QAbstractTableModel(parent) { scanned_ = calllog::First(); }

int CallLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CallLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const calllog::Record& CallLogModel::RecordAt(int row) const { return calllog::At(rows_[static_cast<size_t>(row)]); }

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
        case Arguments: return QString::fromStdString(calllog::Arguments(record));
        case Result: return QString::fromStdString(calllog::Result(record));
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

void CallLogModel::Refresh()
{
    // A log started afresh (or stopped) has none of the calls shown.
    if (!calllog::Recording() || scanned_ > calllog::Total()) {
        beginResetModel();
        rows_.clear();
        scanned_ = calllog::First();
        endResetModel();
        if (!calllog::Recording())
            return;
    }
    const uint64_t first = calllog::First();
    size_t gone = 0;
    while (gone < rows_.size() && rows_[gone] < first)
        ++gone;
    if (gone > 0) {
        beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
        rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(gone));
        endRemoveRows();
    }
    scanned_ = std::max(scanned_, first);
    std::deque<uint64_t> fresh;
    for (const uint64_t total = calllog::Total(); scanned_ < total; ++scanned_)
        if (filter_.Matches(calllog::At(scanned_)))
            fresh.push_back(scanned_);
    if (fresh.empty())
        return;
    const int row = rowCount();
    beginInsertRows({}, row, row + static_cast<int>(fresh.size()) - 1);
    rows_.insert(rows_.end(), fresh.begin(), fresh.end());
    endInsertRows();
}

void CallLogModel::SetFilter(const CallFilter& filter)
{
    beginResetModel();
    filter_ = filter;
    rows_.clear();
    scanned_ = calllog::First();
    endResetModel();
    Refresh();
}

void CallLogModel::Clear()
{
    calllog::Clear();
    beginResetModel();
    rows_.clear();
    scanned_ = calllog::First();
    endResetModel();
}
