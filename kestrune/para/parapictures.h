// The pictures of the hardware parameter window, drawn in code.
#pragma once

#include <QPixmap>
#include <QWidget>

// The pulse-type table (344 × 144): for types 0 to 5, the OUT and DIR
// outputs in the positive and the negative direction.
QPixmap PulseTypeTable();

// Tab 1's sketch of the travel: limits, physical and logical home, carriage.
// Placed over the tab page; positions are the tab strip's, in twips.
class HomeIllustration : public QWidget {
public:
    HomeIllustration(QWidget* page, int tabOffsetTwips);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int offset_;
};
