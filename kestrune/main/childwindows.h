// The test windows that the main window opens: each exists at most once, is
// shown without blocking, and is created afresh after the user closed it.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class ChildWindows {
public:
    using Factory = std::function<QWidget*()>;

    // Shows the window of `slot`, creating it with `make` when it is not open.
    // The window is deleted when closed. Returns the window.
    QWidget* Open(int slot, const Factory& make);

    // The open window of `slot`, or nullptr.
    QWidget* Find(int slot) const;

    // Closes every open window, the most recently created first. A window that
    // refuses to close is left open and the next one is tried.
    void CloseAll();

private:
    std::map<int, QPointer<QWidget>> bySlot_;
    std::vector<QPointer<QWidget>> created_; // in the order they were created
};
