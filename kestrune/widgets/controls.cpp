#include "controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

QRect Twips(int left, int top, int width, int height) { return QRect(Px(left), Px(top), Px(width), Px(height)); }

namespace {

template <typename W>
W* Add(QWidget* parent, const QString& name, const QRect& r)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(r);
    return w;
}

} // namespace

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    auto* label = Add<QLabel>(parent, name, r);
    label->setText(text);
    return label;
}

QLineEdit* AddText(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    auto* edit = Add<QLineEdit>(parent, name, r);
    edit->setText(text);
    return edit;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, const QRect& r)
{
    auto* button = Add<QPushButton>(parent, name, r);
    button->setText(caption);
    return button;
}

QGroupBox* AddFrame(QWidget* parent, const QString& name, const QString& caption, const QRect& r)
{
    auto* frame = Add<QGroupBox>(parent, name, r);
    frame->setTitle(caption);
    return frame;
}

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height)
{
    return AddLabel(parent, name, text, Twips(left, top, width, height));
}

QLineEdit* AddText(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height)
{
    return AddText(parent, name, text, Twips(left, top, width, height));
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                       int height)
{
    return AddButton(parent, name, caption, Twips(left, top, width, height));
}

QGroupBox* AddFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                    int height)
{
    return AddFrame(parent, name, caption, Twips(left, top, width, height));
}

QRadioButton* AddOption(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                        int height)
{
    auto* option = Add<QRadioButton>(parent, name, Twips(left, top, width, height));
    option->setText(caption);
    return option;
}

namespace {

class StackedLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
        painter.drawText(contentsRect(), static_cast<int>(alignment()),
                         text().simplified().replace(QLatin1Char(' '), QLatin1Char('\n')));
    }
};

} // namespace

QLabel* AddStackedLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r)
{
    auto* label = Add<StackedLabel>(parent, name, r);
    label->setText(text);
    return label;
}

void DrawFramesAsLaidOut(QWidget* window, const QString& captionColour)
{
    QString sheet = QStringLiteral("QGroupBox { border: 1px solid rgb(160, 160, 160); margin-top: 7px; }"
                                   "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px;");
    if (!captionColour.isEmpty())
        sheet += QStringLiteral(" color: %1;").arg(captionColour);
    window->setStyleSheet(sheet + QStringLiteral(" }"));
}

void MakeDisplayOnly(QWidget* textBox)
{
    textBox->setEnabled(false);
    QPalette palette = textBox->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    textBox->setPalette(palette);
}
