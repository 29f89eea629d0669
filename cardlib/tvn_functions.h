// Every function of the card driver library, written once.
//
// TVN_FUNCTION(result, name, (argument types...), STATUS) for each entry point. The
// load-time declarations (tolvane.h), the run-time binding (binding.h) and the
// stand-in library's exports and trace are all expanded from this list, so a
// name or a type lives here and nowhere else.
//
// Type rules of the card: card, axis and bit numbers, modes and levels are
// 16-bit signed; positions, ports and registers 32-bit signed (a Windows
// `long`); speeds, times and ratios double. Status and flag words, which the
// programs only take apart bit by bit, are unsigned. Out values are pointers;
// an argument of pointer-to-const type is a two-element array (arc moves) or,
// for char, a zero-terminated path.
//
// No include guard: the list is meant to be expanded more than once.
#ifndef TVN_FUNCTION
#error "define TVN_FUNCTION(result, name, params, answer) before including tvn_functions.h"
#endif

// Board
TVN_FUNCTION(int16_t, tvn_board_init, (), VALUE)
TVN_FUNCTION(int16_t, tvn_board_close, (), STATUS)

// Axis signal configuration
TVN_FUNCTION(int16_t, tvn_set_pulse_outmode, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_SD_PIN, (int16_t, int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_PCS_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_INP_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_ERC_PIN, (int16_t, int16_t, int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_ALM_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_EL_MODE, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_set_HOME_pin_logic, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_home_mode, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_EZ_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_LTC_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_CSTA_PIN, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_counter_config, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_EMG_PIN, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_config_latch_mode, (int16_t, int16_t), STATUS)

// Motion
TVN_FUNCTION(int16_t, tvn_set_profile, (int16_t, double, double, double, double), STATUS)
TVN_FUNCTION(int16_t, tvn_set_st_profile, (int16_t, double, double, double, double, double, double), STATUS)
TVN_FUNCTION(int16_t, tvn_set_vector_profile, (double, double, double, double), STATUS)
TVN_FUNCTION(int16_t, tvn_t_pmove, (int16_t, int32_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_s_pmove, (int16_t, int32_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_t_vmove, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_home_move, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_t_line2, (int16_t, int32_t, int16_t, int32_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_arc_move, (const int16_t*, const int32_t*, const int32_t*, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_rel_arc_move, (const int16_t*, const int32_t*, const int32_t*, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_arc_move_unitmm, (const int16_t*, const double*, const double*, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_rel_arc_move_unitmm, (const int16_t*, const double*, const double*, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_change_speed, (int16_t, double), STATUS)
TVN_FUNCTION(int16_t, tvn_decel_stop, (int16_t, double), STATUS)
TVN_FUNCTION(int16_t, tvn_imd_stop, (int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_simultaneous_stop, (int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_set_sync_option, (int16_t, int16_t, int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_set_sync_stop_mode, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_start_move_all, (int16_t), STATUS)

// Position and speed
TVN_FUNCTION(int32_t, tvn_get_position, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_set_position, (int16_t, int32_t), STATUS)
TVN_FUNCTION(int16_t, tvn_get_position_unitmm, (int16_t, double*), STATUS)
TVN_FUNCTION(int32_t, tvn_get_encoder, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_set_encoder, (int16_t, int32_t), STATUS)
TVN_FUNCTION(double, tvn_read_current_speed, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_get_equiv, (int16_t, double*), STATUS)
TVN_FUNCTION(int16_t, tvn_set_equiv, (int16_t, double), STATUS)

// Status and I/O
TVN_FUNCTION(uint16_t, tvn_axis_status, (int16_t), VALUE)
TVN_FUNCTION(uint16_t, tvn_axis_io_status, (int16_t), VALUE)
TVN_FUNCTION(uint32_t, tvn_get_rsts, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_read_inbit, (int16_t, int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_read_outbit, (int16_t, int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_write_outbit, (int16_t, int16_t, int16_t), STATUS)
TVN_FUNCTION(int32_t, tvn_read_inport, (int16_t), VALUE)
TVN_FUNCTION(int32_t, tvn_read_outport, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_write_outport, (int16_t, int32_t), STATUS)
TVN_FUNCTION(int16_t, tvn_read_SEVON_PIN, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_write_SEVON_PIN, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_read_RDY_PIN, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_write_ERC_PIN, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_read_CMP_PIN, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_write_CMP_PIN, (int16_t, int16_t), STATUS)

// Latch
TVN_FUNCTION(int32_t, tvn_get_latch_value, (int16_t), VALUE)
TVN_FUNCTION(uint32_t, tvn_get_latch_flag, (int16_t), VALUE)
TVN_FUNCTION(int16_t, tvn_reset_latch_flag, (int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_reset_clear_flag, (int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_triger_chunnel, (int16_t, int16_t), STATUS)
TVN_FUNCTION(int16_t, tvn_set_speaker_logic, (int16_t, int16_t), STATUS)

// Versions and firmware. The release text buffer holds 1024 bytes.
TVN_FUNCTION(int16_t, tvn_get_card_version, (int16_t, uint32_t*), STATUS)
TVN_FUNCTION(int16_t, tvn_get_card_soft_version, (int16_t, uint32_t*, uint32_t*), STATUS)
TVN_FUNCTION(int16_t, tvn_get_lib_version, (int32_t*, int32_t*), STATUS)
TVN_FUNCTION(int16_t, tvn_get_release_version, (int16_t, char*), STATUS)
TVN_FUNCTION(int16_t, tvn_download_firmware, (int16_t, const char*), STATUS)
TVN_FUNCTION(int16_t, tvn_get_progress, (int16_t, float*), STATUS)

// Registers
TVN_FUNCTION(int32_t, tvn_read_pcl_register, (int16_t, int16_t, int16_t), VALUE)
TVN_FUNCTION(int32_t, read_dword_pld_register, (int16_t, int16_t), VALUE)
TVN_FUNCTION(int16_t, write_dword_pld_register, (int16_t, int16_t, int32_t), STATUS)
TVN_FUNCTION(int16_t, write_word_pcl_otpw, (int16_t, int16_t, int16_t), STATUS)
