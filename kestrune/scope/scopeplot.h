// The scope's time plots: positions (both axes in one pane, or a pane for
// each), following error and speed, stacked on one time axis, each scaled to
// what it shows; two cursors placed by clicking. Drawn with QPainter from a
// SampleSource, a pixel column at a time, so that a minute of samples costs
// no more than a screen's width. A view that only moved on in time (the live
// scope) is not drawn again: the picture scrolls by whole pixels and only the
// new columns are drawn, until a pane's scale changes.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>
#include <optional>

#include "scopedata.h"

class ScopePlot : public QWidget {
    Q_OBJECT

public:
    explicit ScopePlot(QWidget* parent = nullptr);

    void SetSource(const SampleSource* source);
    // The time range shown, in seconds.
    void SetRange(double from, double to);
    // Shows the range now, as the live scope does after each SetRange.
    void DrawNow();
    double From() const { return from_; }
    double To() const { return to_; }
    // Whether the user may drag and zoom through the data (not while live).
    void SetBrowsable(bool browsable) { browsable_ = browsable; }

    void SetChannelShown(int channel, bool shown);
    bool ChannelShown(int channel) const { return shown_[channel]; }
    static QColor ChannelColour(int channel);

    // Cursor A (index 0) and B (index 1), in seconds, if placed.
    std::optional<double> Cursor(int index) const { return cursors_[index]; }
    void SetCursor(int index, std::optional<double> seconds);
    void ClearCursors();
    // Pane 0 (positions), 1 (following error) or 2 (speeds) scaled from −r
    // to r, or to what it shows.
    void SetFixedScale(int pane, std::optional<double> halfRange);
    // Commands of the call log, marked below the traces at their time; the
    // text of one, shown when the mouse rests on it, is asked for then.
    struct Mark {
        double seconds;
        uint64_t sequence;
    };
    void SetMarks(std::vector<Mark> marks);
    const std::vector<Mark>& Marks() const { return marks_; }
    void SetMarkText(std::function<QString(uint64_t sequence)> text) { markText_ = std::move(text); }
    // The mark at `x`, within a few pixels, if any.
    std::optional<Mark> MarkAt(int x) const;
    // The trigger's moment in a capture, marked by a line, or none.
    void SetTriggerMark(std::optional<double> seconds);
    // The position pane split into one pane for each axis.
    void SetPositionsSplit(bool split);
    bool PositionsSplit() const { return split_; }
    // How many times the whole picture was drawn, rather than scrolled.
    int FullRedraws() const { return fullRedraws_; }

signals:
    void CursorsChanged();
    void RangeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct PaneBox {
        int kind; // 0 positions, 1 following error, 2 speeds: which fixed scale applies
        QString title;
        std::vector<int> channels;
        QRect box;
    };
    std::vector<PaneBox> Panes() const;
    // Changes anything but the time range: the next picture is drawn whole.
    void Changed();
    // Each pane's samples [begin, end) reduced to the columns from `column`
    // to the right edge.
    std::vector<ColumnSpans> Reduce(const std::vector<PaneBox>& panes, size_t begin, size_t end, int column) const;
    // Draws the whole picture; a pane scaled to its data keeps its range
    // from `previous` while that still suits.
    void DrawWhole(const std::vector<PaneBox>& panes, size_t begin, size_t end,
                   const std::vector<std::optional<ValueRange>>& previous);
    // Moves the picture `dx` columns to the left and draws the columns from
    // the newest sample drawn before; the first column drawn, or none, with
    // nothing done, if a pane's scale would change.
    std::optional<int> Scroll(const std::vector<PaneBox>& panes, int dx, size_t begin, size_t end);
    // Brings the canvas up to the range and settings: by moving the picture
    // `dx` columns and drawing the columns from `from`, or whole.
    struct Rendered {
        bool whole = true;
        int dx = 0, from = 0;
    };
    Rendered Render();
    // Clears the plot area's columns [from, to), kept `shift` pixels to the
    // right in the canvas, and draws them again: grid, traces (from `reduced`, which starts at column
    // `reducedFrom` <= `from`; its columns before `from` only lead the trace
    // in), frames and marks. Samples from `begin` draw the lines of a sparse
    // view.
    void DrawColumns(QPainter& p, const std::vector<PaneBox>& panes, int from, int to, int shift,
                     const std::vector<ColumnSpans>& reduced, int reducedFrom, size_t begin, size_t end);
    void DrawTimeLabels(QPainter& p);
    double SecondsPerColumn() const;
    // The newest sample before the right edge: the one after it, if any, is
    // drawn in the last column, and only the next picture places it.
    size_t NewestInside(size_t begin) const;
    void Label(QPainter& p, const QString& text, QPoint at, Qt::Alignment align);
    QRect PlotArea() const;
    int LeftMargin() const;
    double TimeAt(int x) const;
    int XAt(double seconds) const;

    QImage canvas_;
    mutable QFont marginFont_;
    mutable int leftMargin_ = 0;
    QHash<QString, QStaticText> labels_;
    const SampleSource* source_ = nullptr;
    double from_ = 0, to_ = 10;
    double span_ = 10; // to_ - from_, as it was given
    bool browsable_ = false;
    std::array<bool, 8> shown_{};
    std::array<std::optional<double>, 2> cursors_;
    std::optional<double> triggerMark_;
    std::vector<Mark> marks_;
    std::function<QString(uint64_t)> markText_;
    std::array<std::optional<double>, 3> fixedScale_;
    bool split_ = false;
    bool changed_ = true;
    bool stale_ = true; // the range moved since the canvas was drawn
    int nextCursor_ = 0;
    // What the canvas holds, so that a view moved on in time can be scrolled.
    struct Drawn {
        bool valid = false;
        QRect area;
        double from = 0, span = 0;
        bool columns = true;                      // pixel columns, or lines from sample to sample
        double newest = 0;                        // the newest sample inside the view, s
        std::vector<ValueRange> scales;           // per pane
        std::vector<std::vector<ValueSpan>> data; // per pane, per column: what it holds
    } drawn_;
    int fullRedraws_ = 0;
    int ring_ = 0; // where the plot area's first column is kept in the canvas
    std::optional<QPoint> pressed_;
    double pressedFrom_ = 0;
    bool dragged_ = false;
};
