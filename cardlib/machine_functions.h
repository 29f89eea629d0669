// The simulated machine: functions that only the stand-in library exports,
// beside the card functions, for Kestrune's 模拟机床 window and Flashmend's
// 模拟下载故障 menu. Programs look them up at run time; a real card's library
// has none of them, and then there is no simulated machine.
//
// TVN_MACHINE_FUNCTION(result, name, params) for each; plain C types only.
// Signals and forces are the numbers of brevak::machine (brevak.h).
// Functions that set answer 0, or the card library's status for a card,
// axis or value that does not exist (1, 2, 3); those that read answer −1 then.
//
// No include guard: the list is meant to be expanded more than once.
#ifndef TVN_MACHINE_FUNCTION
#error "define TVN_MACHINE_FUNCTION(result, name, params) before including machine_functions.h"
#endif

TVN_MACHINE_FUNCTION(int, tvnsim_axis_force, (int axis, int signal, int force))
TVN_MACHINE_FUNCTION(int, tvnsim_axis_forced, (int axis, int signal))
// Whether the signal is active now, as the card's status words show it.
TVN_MACHINE_FUNCTION(int, tvnsim_axis_active, (int axis, int signal))
TVN_MACHINE_FUNCTION(int, tvnsim_card_force, (int card, int signal, int force))
TVN_MACHINE_FUNCTION(int, tvnsim_card_forced, (int card, int signal))
TVN_MACHINE_FUNCTION(int, tvnsim_card_active, (int card, int signal))
// The encoder count lags the travel by `pulses` (negative: leads).
TVN_MACHINE_FUNCTION(int, tvnsim_set_encoder_slip, (int axis, int pulses))
TVN_MACHINE_FUNCTION(int, tvnsim_encoder_slip, (int axis))
// The card's next download fails with `code` (not 0), after stalling at
// `stall_percent` (0 to 99; −1: no stall) until released; code 0 and −1
// clear the fault. A stalled download let go without a code answers 9.
TVN_MACHINE_FUNCTION(int, tvnsim_download_fault, (int card, int code, int stall_percent))
TVN_MACHINE_FUNCTION(int, tvnsim_release_download, (int card))
