// The scope's time plots: positions, following error and speed, stacked on
// one time axis, each scaled to what it shows; two cursors placed by
// clicking. Drawn with QPainter from a SampleSource, a pixel column at a
// time, so that a minute of samples costs no more than a screen's width.
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

class SampleSource;

class ScopePlot : public QWidget {
    Q_OBJECT

public:
    explicit ScopePlot(QWidget* parent = nullptr);

    void SetSource(const SampleSource* source);
    // The time range shown, in seconds.
    void SetRange(double from, double to);
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
    bool browsable_ = false;
    std::array<bool, 8> shown_{};
    std::array<std::optional<double>, 2> cursors_;
    std::optional<double> triggerMark_;
    std::vector<Mark> marks_;
    std::function<QString(uint64_t)> markText_;
    std::array<std::optional<double>, 3> fixedScale_;
    int nextCursor_ = 0;
    std::optional<QPoint> pressed_;
    double pressedFrom_ = 0;
    bool dragged_ = false;
};
