// The call log as a table: a model over the binding's ring, one row per call
// that the filter lets through, with no widget and no text kept per row.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <deque>

#include "cardlib/calllog.h"

// Which calls the table shows.
struct CallFilter {
    QString text; // in the function's name or its arguments, any case
    bool failuresOnly = false;
    bool hideTimerTicks = false;

    bool Matches(const cardlib::calllog::Record& record) const;
};

// A record as a saved or copied line: the time in milliseconds, then the
// call as the stand-in's trace writes it ("1234.567 tvn_imd_stop(0) = 0").
QString CallLine(const cardlib::calllog::Record& record);

class CallLogModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, Function, Arguments, Result, ColumnCount };

    explicit CallLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes in the calls recorded since the last refresh, and lets go of
    // those the ring has dropped.
    void Refresh();
    void SetFilter(const CallFilter& filter);
    const CallFilter& Filter() const { return filter_; }
    // Forgets every call recorded so far.
    void Clear();

    const cardlib::calllog::Record& RecordAt(int row) const;

private:
    CallFilter filter_;
    std::deque<uint64_t> rows_; // sequence numbers of the calls shown
    uint64_t scanned_ = 0;      // the next sequence number to look at
};
