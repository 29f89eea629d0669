// The call log as a table: a model over the binding's rings, one row per call
// that the filter lets through, with no widget and no text kept per row.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <deque>
#include <string>

#include "cardlib/calllog.h"

// Which calls the table shows.
struct CallFilter {
    QString text; // in the function's name or its arguments, any case
    bool failuresOnly = false;
    bool hideTimerTicks = false;

    bool Matches(const cardlib::calllog::Record& record) const;
};

// A call log text as shown: the texts the card library took and gave (a
// firmware path, a release text) are bytes in the encoding the system names
// files in, as the programs pass paths to it (UTF-8 here, the ANSI code page
// on Windows); the rest is ASCII.
QString LogText(const std::string& bytes);

// A record as a saved or copied line: the time in milliseconds, then the
// call as the stand-in's trace writes it ("1234.567 tvn_imd_stop(0) = 0").
QString CallLine(const cardlib::calllog::Record& record);

// How far back the log reaches, for the counter line: the commands kept, and
// the reads in seconds once their ring has let old ones go.
QString ReachText();

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
    // The sequence number of the call shown at `row`.
    uint64_t SequenceAt(int row) const;
    // The row a call shown is at, or would be at.
    int RowOf(uint64_t sequence) const;
    // Lets go of the calls the log no longer keeps, a run of rows at a time.
    void DropForgotten();

    CallFilter filter_;
    // The calls shown, by sequence number, one list for each of the log's
    // rings; the rows are the two merged in order. Each ring forgets its
    // oldest first, so the calls to let go of are at the lists' fronts.
    std::deque<uint64_t> shown_[2];
    uint64_t scanned_ = 0; // the next sequence number to look at
    cardlib::calllog::Record missing_;
};
