// A status lamp: a small filled shape whose colour is all the program changes.
// It repaints only when its colour changes, so a refresh that finds nothing
// new costs no drawing.
#pragma once

#include <QColor>
#include <QWidget>

class Lamp : public QWidget {
    Q_OBJECT

public:
    static const QColor kSet;     // red: the bit or pin is set
    static const QColor kClear;   // green: clear
    static const QColor kInitial; // yellow: never refreshed

    explicit Lamp(QWidget* parent = nullptr, const QColor& colour = kInitial);

    void SetColour(const QColor& colour);
    void SetState(bool set) { SetColour(set ? kSet : kClear); }
    QColor Colour() const { return colour_; }

    // How often the lamp asked to be repainted (for tests and benchmarks).
    int RepaintRequests() const { return repaints_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    int repaints_ = 0;
};
