// The simulated Brevak cards: what each card and axis holds, and the clock
// their behaviour is computed from.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "cardlib/brevak.h"
#include "moves.h"
#include "profile.h"

namespace tolvane {

// Status codes of the stand-in (0 is success).
inline constexpr int16_t kOk = 0;
inline constexpr int16_t kNoCard = 1;      // card number names no simulated card
inline constexpr int16_t kNoAxis = 2;      // axis number names no axis of a simulated card
inline constexpr int16_t kBadValue = 3;    // a mode, level or bit number out of its range
inline constexpr int16_t kNullPointer = 4; // an out or array argument is missing
inline constexpr int16_t kNoFile = 5;      // the firmware file is missing, unreadable or unnamed
inline constexpr int16_t kBusy = 6;        // a move on an axis that is moving or waiting to start
inline constexpr int16_t kBadPair = 7;     // interpolation on one axis twice or on axes of two cards
inline constexpr int16_t kDownloading = 8; // a firmware download already runs on the card
inline constexpr int16_t kStopped = 9;     // a download the simulated machine held was let go before its end

using brevak::kAxesPerCard;
inline constexpr int kMaxCards = 1000;

// Inputs that stay at their idle low level unless a test drives them
// (control::SetInput); the others follow the machine (signals.h).
enum AxisInput { kAlarm, kSlowDown, kJogPlus, kJogMinus, kAxisInputs };
enum CardInput { kCardSlowDown, kCardStart, kCardStop, kEmergency, kCardInputs };

// The simulated machine (machine.cpp) holds an input active or inactive
// whatever the machine does, or leaves it to the machine (Auto). Held means
// the physical input: the level that the input's configured logic reads as
// active, or the other one.
using brevak::machine::Force;
namespace machine = brevak::machine;

// What an input shows: the machine's own state, unless it is held.
inline bool Shown(Force force, bool machine) { return force == Force::Auto ? machine : force == Force::Active; }

// Configuration is remembered as the card was told it; nothing is checked
// against anything else. A fresh card takes every input as active high (logic
// 1) and has SD, INP and EMG disabled, so that nothing reads active before
// the program configures it (signals.h).
struct Axis {
    int16_t pulseOutMode = 0;
    std::array<int16_t, 3> sd{0, 1, 0};     // enable, logic, mode
    std::array<int16_t, 2> pcs{};           // enable, logic
    std::array<int16_t, 2> inp{0, 1};       // enable, logic
    std::array<int16_t, 4> erc{};           // enable, logic, width, off time
    std::array<int16_t, 2> alm{1, 0};       // logic, stop mode
    int16_t elMode = 2;                     // bit 0 stop response, bit 1 level
    std::array<int16_t, 2> homeLogic{1, 0}; // logic, filter
    std::array<int16_t, 2> homeMode{};      // mode, EZ count
    std::array<int16_t, 2> ez{1, 0};        // logic, mode (bit 0: an index clears the encoder)
    std::array<int16_t, 2> ltc{1, 0};       // logic, mode
    int16_t csta = 0;
    int16_t counterMode = 0;
    std::array<int16_t, 4> syncOption{};
    int16_t syncStopMode = 0;

    Profile profile;
    // Where the axis really is, in pulses (whole at rest), and how fast it
    // goes there; the counters are offsets from it (WholePulses below).
    double physical = 0;
    double speed = 0;
    int64_t commandOffset = 0;
    int64_t encoderOffset = 0;
    double equiv = 1.0;
    int32_t latchValue = 0;

    int16_t sevon = 0;
    double servoOnSince = 0;
    int16_t ercOut = 0;
    int16_t cmpOut = 0;
    std::array<bool, kAxisInputs> high{}; // electrical levels of the driven inputs
    std::array<Force, machine::kAxisSignals> force{};
    int32_t slip = 0; // pulses the encoder count lags the travel (negative: leads)
};

// The counters of an axis: whole pulses of its physical position, plus their
// own offsets, the encoder's lagging by the slip.
inline int64_t WholePulses(const Axis& axis) { return std::llround(axis.physical); }
inline int32_t CommandPosition(const Axis& axis)
{
    return static_cast<int32_t>(WholePulses(axis) + axis.commandOffset);
}
inline int32_t EncoderCount(const Axis& axis)
{
    return static_cast<int32_t>(WholePulses(axis) + axis.encoderOffset - axis.slip);
}
inline void SetCommandPosition(Axis& axis, int32_t position) { axis.commandOffset = position - WholePulses(axis); }
inline void SetEncoderCount(Axis& axis, int32_t count) { axis.encoderOffset = count - WholePulses(axis) + axis.slip; }

// A firmware download into a card. It lives apart from the card because the
// download waits without the call mutex: a board reset meanwhile must not
// pull it from under the waiting call.
struct Download {
    bool running = false;
    bool finished = false; // the last download ran to its end
    double start = 0;
    // A download the simulated machine holds at a percentage, until it lets go.
    double stallAt = -1; // fraction, or −1
    bool released = false;
};

// What the simulated machine makes the next download of a card do: fail with `code`
// (when not 0), and first stall at `stallPercent` (when 0 to 99) until
// released.
struct DownloadFault {
    int16_t code = 0;
    int stallPercent = -1;
};

struct Card {
    std::array<Axis, kAxesPerCard> axes;
    std::vector<motion::Motion> motions; // running or waiting
    std::array<int16_t, 2> emg{0, 1};    // enable, logic
    int16_t latchAllAxes = 0;
    int32_t outport = 0;
    int32_t forcedInputs = 0; // general inputs a test holds high
    std::array<bool, kCardInputs> high{};
    // The held bits of tvn_get_latch_flag (8-15); the live ones are read
    // from the axes (signals.h).
    uint32_t latchFlag = 0;
    int16_t speakerLogic = 0;
    int16_t triggerChannel = 0;
    std::map<int16_t, int32_t> pld;
    std::map<int16_t, int16_t> otpw;
    std::shared_ptr<Download> download = std::make_shared<Download>();
    DownloadFault nextDownload;
    std::array<Force, machine::kCardSignals> force{};
};

struct Board {
    std::vector<Card> cards;
    Profile vector;
    bool open = false;
};

// The board of the process, created at the first call from TOLVANE_CARDS.
Board& TheBoard();

// Seconds on the monotonic clock, or on the test clock while tests drive it.
double Now();
// Waits, without holding the call mutex, until Now() reaches `deadline`: on
// the monotonic clock by sleeping, on the test clock until tests advance it
// there. Only from inside an entry point (Call()).
void WaitUntil(double deadline);
// Waits the same way until the simulated machine lets go of `download` (or the board is
// closed or reset).
void WaitForRelease(const Download& download);
// Lets go of the card's held download, if one waits.
void ReleaseDownload(Card& card);

// The card of a card number, or nullptr.
Card* FindCard(int16_t card);
// The axis of a global axis number (card × 4 + index), or nullptr.
Axis* FindAxis(int16_t axis);
// The card of a global axis number, or nullptr, and the axis's index on it.
Card* CardOfAxis(int16_t axis);
using brevak::IndexOnCard;

} // namespace tolvane
