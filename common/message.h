// Every message a program shows the user goes through here: a modal box with
// an OK button only, no icon. Tests replace the box with a hook so that
// nothing blocks.
#pragma once

#include <QString>

#include <functional>

class QWidget;

inline constexpr const char* kProgramTitle = "Kestrune";

// A message titled with Kestrune's name.
void ShowMessage(const QString& text, QWidget* parent = nullptr);
// A message with its own title.
void ShowMessage(const QString& title, const QString& text, QWidget* parent);

using MessageHook = std::function<void(const QString& title, const QString& text)>;
// With a hook set, messages go to it instead of a box; an empty hook restores
// the box.
void SetMessageHook(MessageHook hook);
