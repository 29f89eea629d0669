#include "controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

QRect Twips(int left, int top, int width, int height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

namespace {

template <typename W>
W* Add(QWidget* parent, const QString& name, const QRect& r)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(r);
    return w;
}

}  // namespace

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

void MakeDisplayOnly(QWidget* textBox)
{
    textBox->setEnabled(false);
    QPalette palette = textBox->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    textBox->setPalette(palette);
}

OptionGroup::OptionGroup(QObject* parent) : QObject(parent) {}

void OptionGroup::Add(QRadioButton* button, std::function<void()> onClick)
{
    // Exclusivity is kept here rather than by Qt, which refuses to clear the
    // last checked button of an exclusive group.
    button->setAutoExclusive(false);
    buttons_.push_back(button);
    if (onClick)
        handlers_[button] = std::move(onClick);
    connect(button, &QAbstractButton::clicked, this, [this, button] { Clicked(button); });
}

void OptionGroup::Clicked(QRadioButton* button)
{
    // A click on a selected option leaves it selected, as option buttons do.
    Select(button);
}

void OptionGroup::Select(QRadioButton* button)
{
    for (QRadioButton* other : buttons_)
        if (other != button)
            other->setChecked(false);
    button->setChecked(true);
    if (const auto it = handlers_.find(button); it != handlers_.end())
        it->second();
}

void OptionGroup::Clear(QRadioButton* button)
{
    button->setChecked(false);
}

void OptionGroup::ClearAll()
{
    for (QRadioButton* button : buttons_)
        button->setChecked(false);
}

QRadioButton* OptionGroup::Selected() const
{
    for (QRadioButton* button : buttons_)
        if (button->isChecked())
            return button;
    return nullptr;
}
