// hardware_set.txt: the per-axis signal configuration that the hardware
// parameter window edits and ApplyHardwareSettings sends to the card.
#pragma once

#include <QString>

#include <map>
#include <span>

class IniBatch;

// How a key's value relates to its option group in the window.
enum class HardwareKeyKind {
    Indexed,   // " n": one blank, then the index of the selected button
    TwoChoice, // "0" when the first button is selected, "1" otherwise
    Text,      // a text box's text, as typed
    PulseIn,   // "0" to "3", one per button
    ExDrive,   // "0", "1", else "2"
    LatchAll,  // "1" when the first button (所有轴) is selected, else "0"
};

struct HardwareKey {
    const char* name;
    HardwareKeyKind kind;
    bool utility; // in section UTILITY rather than the axis section
};

// Every key, in the order the window saves them.
std::span<const HardwareKey> HardwareKeys();

// The window's choices as plain data: per option-group key the index of the
// selected button (-1: none), per text key the text.
struct HardwareFields {
    std::map<QString, int> selected;
    std::map<QString, QString> texts;
};

// Writes the fields as the settings of `axis` (and the UTILITY keys) into
// `batch`, key by key. A group without a selection writes its "else" value,
// except the pulse type and SD action, which then keep the file's.
void WriteHardwareSettings(int axis, const HardwareFields& fields, IniBatch& batch);
// The same into the file at `path`, committed at once: 0, or the errno of the
// failure.
int WriteHardwareSettings(int axis, const HardwareFields& fields, const QString& path);

// Reads the settings of `axis` into `fields`; nothing changes when the file
// does not exist. A value that names no button leaves that group as it was.
void ReadHardwareSettings(int axis, const QString& path, HardwareFields& fields);
