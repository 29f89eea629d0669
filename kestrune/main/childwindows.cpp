#include "childwindows.h"

#include <algorithm>

QWidget* ChildWindows::Open(int slot, const Factory& make)
{
    QWidget* window = Find(slot);
    if (!window) {
        window = make();
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose);
        bySlot_[slot] = window;
        std::erase_if(created_, [](const QPointer<QWidget>& w) { return w.isNull(); });
        created_.emplace_back(window);
    }
    // A window the user minimised comes back as it was before: show() alone
    // leaves it an icon.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QWidget* ChildWindows::Find(int slot) const
{
    // A closed window lingers until its deferred deletion; it counts as gone.
    const auto it = bySlot_.find(slot);
    QWidget* window = it == bySlot_.end() ? nullptr : it->second.data();
    return window && window->isVisible() ? window : nullptr;
}

void ChildWindows::CloseAll()
{
    // Copied first: closing a window deletes it and may open or close others.
    const std::vector<QPointer<QWidget>> windows(created_.rbegin(), created_.rend());
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            window->close();
    }
}
