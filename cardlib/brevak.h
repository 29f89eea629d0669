// What the Brevak card's numbers mean, as its library reports and takes them:
// the bits of the status words, the groups of the latch flag, the PLD
// registers, how a window's axis slot becomes the library's axis number, and
// the signals of the simulated machine around the stand-in card. The windows
// read the card through these names and the stand-in writes its words with
// them, so the two cannot drift apart.
#pragma once

#include <cstdint>

namespace brevak {

inline constexpr int kAxesPerCard = 4;
inline constexpr int kGeneralInputs = 20;  // tvn_read_inbit 1 to 20
inline constexpr int kGeneralOutputs = 20; // tvn_write_outbit 1 to 20

// Bit `bit` of a status word, numbered from 0.
inline constexpr bool Bit(uint32_t word, int bit) { return (word >> bit) & 1u; }

// tvn_axis_status.
namespace status {
inline constexpr uint16_t kMoving = 1u << 0;  // a move is running, stops included
inline constexpr uint16_t kWaiting = 1u << 1; // a move waits for tvn_start_move_all
} // namespace status

// Bit numbers of tvn_axis_io_status.
namespace io {
inline constexpr int kAlarm = 11;      // ALM
inline constexpr int kLimitPlus = 12;  // EL+
inline constexpr int kLimitMinus = 13; // EL−
inline constexpr int kHome = 14;       // ORG
} // namespace io

// Bit numbers of tvn_get_rsts: the card-wide inputs (4 to 7), then the axis's
// own signals.
namespace rsts {
inline constexpr int kCardSlowDown = 4; // CSD
inline constexpr int kStart = 5;        // STA
inline constexpr int kStop = 6;         // STP
inline constexpr int kEmergency = 7;    // EMG
inline constexpr int kErcOutput = 9;    // the error counter clear output
inline constexpr int kIndex = 10;       // EZ
inline constexpr int kJogPlus = 11;     // PA/J+
inline constexpr int kJogMinus = 12;    // PB/J−
inline constexpr int kSlowDown = 14;    // SD
inline constexpr int kInPosition = 15;  // INP
} // namespace rsts

// tvn_get_latch_flag: four groups of four bits, one bit per axis index of the
// card (0 to 3). The inputs are live; the states are held until reset.
namespace latch {
inline constexpr uint32_t TriggerInput(int i) { return 1u << i; }       // LTC
inline constexpr uint32_t IndexInput(int i) { return 1u << (4 + i); }   // EZ
inline constexpr uint32_t TriggerState(int i) { return 1u << (8 + i); } // has latched
inline constexpr uint32_t ClearState(int i) { return 1u << (12 + i); }  // EZ cleared the count
inline constexpr uint32_t kTriggerStates = 0x0F00;
inline constexpr uint32_t kClearStates = 0xF000;
} // namespace latch

// Registers of the card's PLD (read_dword_pld_register), and the PCL register
// whose word the I/O window shows.
namespace reg {
inline constexpr int16_t kCmr = 64;
inline constexpr int16_t kGout = 68;
inline constexpr int16_t kSel = 72;
inline constexpr int16_t kGin = 76;
inline constexpr int16_t kEll = 120;
inline constexpr int16_t kPclEnv2 = 221; // tvn_read_pcl_register
inline constexpr int16_t kOtpwWord = 8;  // write_word_pcl_otpw
} // namespace reg

// The test windows show two slots of the card in use and address them as
// library axes card × 2 + slot: the card's own program numbers them so, and
// users compare the two. (On a card of four axes, card 1's slots are then
// axes 2 and 3 of card 0.)
inline constexpr int16_t WindowAxis(int card, int slot) { return static_cast<int16_t>(card * 2 + slot); }
// The stored signal settings and the counter clear address the card's own
// axes, card × 4 + index, as the library numbers them.
inline constexpr int16_t CardAxis(int card, int index) { return static_cast<int16_t>(card * kAxesPerCard + index); }
// The card that owns library axis `axis`, and the axis's index on it.
inline constexpr int CardOfAxis(int axis) { return axis / kAxesPerCard; }
inline constexpr int IndexOnCard(int axis) { return axis % kAxesPerCard; }

// The simulated machine around the stand-in card (machine_functions.h): an
// input as the machine drives it (auto), or held active or inactive at the
// level its configured logic reads as such.
namespace machine {
enum class Force : uint8_t { Auto = 0, Active = 1, Inactive = 2 };
inline constexpr bool IsForce(int force) { return force >= 0 && force <= 2; }
// The signals of an axis, and those of a card: EMG, STA, STP, CSD, then the
// general inputs 1 to 20 (kFirstInput + n − 1).
enum AxisSignal { kLimitPlus, kLimitMinus, kHome, kAlarm, kInPosition, kReady, kIndex, kAxisSignals };
enum CardSignal { kEmergency, kStart, kStop, kSlowDown, kFirstInput, kCardSignals = kFirstInput + kGeneralInputs };
} // namespace machine

} // namespace brevak
