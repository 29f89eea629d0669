// The scope's XY view: the path of axis 0 (across) against axis 1 (up), by
// command position, with equal scales, for lines and arcs.
#pragma once

#include <QWidget>

class SampleSource;

class XyView : public QWidget {
    Q_OBJECT

public:
    explicit XyView(QWidget* parent = nullptr);
    void SetSource(const SampleSource* source);
    // The samples of this time range are drawn.
    void SetRange(double from, double to);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SampleSource* source_ = nullptr;
    double from_ = 0, to_ = 0;
};
