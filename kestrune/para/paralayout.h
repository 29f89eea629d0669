// The hardware parameter window's controls, as data: frames, option buttons,
// text boxes and labels with their parents and twip positions, and the key of
// hardware_set.txt that each option group or text box is saved under.
#pragma once

#include <span>

struct FrameSpec {
    const char* name;
    const char* caption;
    const char* parent; // "tab0".."tab4", another frame, or "" for the window
    int left, top, width, height;
    bool hidden = false;
};

struct ControlSpec {
    const char* name;
    const char* caption; // or initial text
    const char* parent;
    int left, top, width, height;
    bool hidden = false;
    bool disabled = false;
};

// A key and the controls it is saved from: the buttons of its group in index
// order, or one text box.
struct KeyControls {
    const char* key;
    std::span<const char* const> controls;
};

std::span<const FrameSpec> ParaFrames();
std::span<const ControlSpec> ParaOptions();
std::span<const ControlSpec> ParaTexts();
std::span<const ControlSpec> ParaLabels();
std::span<const KeyControls> ParaKeyControls();
