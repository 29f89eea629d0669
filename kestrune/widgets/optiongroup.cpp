#include "optiongroup.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

OptionGroup::OptionGroup(QObject* parent) : QObject(parent) {}

void OptionGroup::Add(QRadioButton* button, std::function<void()> onClick)
{
    // Qt's own exclusivity (per parent widget) gives the radio role, Space and
    // a screen reader's toggle; only clearing the whole group needs help.
    Q_ASSERT(buttons_.empty() || buttons_.front()->parentWidget() == button->parentWidget());
    button->setAutoExclusive(true);
    buttons_.push_back(button);
    if (onClick)
        handlers_[button] = std::move(onClick);
    connect(button, &QAbstractButton::toggled, this, [this, button](bool on) { Toggled(button, on); });
    connect(button, &QAbstractButton::clicked, this, [this, button] { Clicked(button); });
    button->installEventFilter(this);
    MarkTabStop();
}

void OptionGroup::Select(QRadioButton* button)
{
    programmatic_ = true;
    button->setChecked(true);
    programmatic_ = false;
    MarkTabStop();
    Run(button);
}

void OptionGroup::Check(QRadioButton* button)
{
    programmatic_ = true;
    button->setChecked(true);
    programmatic_ = false;
    MarkTabStop();
}

void OptionGroup::ClearAll()
{
    programmatic_ = true;
    for (QRadioButton* button : buttons_) {
        // Qt keeps the last checked button of an exclusive group checked.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    programmatic_ = false;
    MarkTabStop();
}

QRadioButton* OptionGroup::Selected() const
{
    for (QRadioButton* button : buttons_)
        if (button->isChecked())
            return button;
    return nullptr;
}

void OptionGroup::Toggled(QRadioButton* button, bool on)
{
    if (!on || programmatic_)
        return;
    // A user's selection by any path: mouse, Space, arrow keys, accessibility.
    MarkTabStop();
    Run(button);
    // A click emits its toggle and then its click in one go; the click must
    // not run the handler twice. The mark lasts until the event loop turns.
    ranFor_ = button;
    QTimer::singleShot(0, this, [this] { ranFor_ = nullptr; });
}

void OptionGroup::Clicked(QRadioButton* button)
{
    // A click on the selected option leaves it selected and runs its handler,
    // as the program's selection does.
    if (ranFor_ == button) {
        ranFor_ = nullptr;
        return;
    }
    Run(button);
}

void OptionGroup::Run(QRadioButton* button)
{
    if (const auto it = handlers_.find(button); it != handlers_.end())
        it->second();
}

QRadioButton* OptionGroup::Neighbour(QRadioButton* button, int step) const
{
    const auto at = std::find(buttons_.begin(), buttons_.end(), button);
    if (at == buttons_.end())
        return nullptr;
    const auto count = static_cast<std::ptrdiff_t>(buttons_.size());
    std::ptrdiff_t i = at - buttons_.begin();
    for (std::ptrdiff_t tried = 1; tried < count; ++tried) {
        i = (i + step + count) % count;
        QRadioButton* candidate = buttons_[static_cast<size_t>(i)];
        if (candidate->isEnabled() && !candidate->isHidden())
            return candidate;
    }
    return nullptr;
}

bool OptionGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* button = qobject_cast<QRadioButton*>(watched);
    int step = 0;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: return false;
    }
    if (QRadioButton* next = Neighbour(button, step)) {
        next->setFocus(Qt::OtherFocusReason);
        next->click();
    }
    return true;
}

void OptionGroup::MarkTabStop()
{
    // Tab enters a group at its selection, or at its first button that can
    // take the focus; the other buttons are reached with the arrow keys.
    QRadioButton* stop = Selected();
    if (!stop) {
        const auto usable = std::find_if(buttons_.begin(), buttons_.end(),
                                         [](QRadioButton* b) { return b->isEnabled() && !b->isHidden(); });
        stop = usable != buttons_.end() ? *usable : buttons_.front();
    }
    for (QRadioButton* button : buttons_)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}
