// The card functions' parameters by name, as the programs show them to a
// user who types a call (Kestrune's console: its hints and its messages).
//
// TVN_PARAM_NAMES(function, "name", ...): one entry for each function of
// tvn_functions.h, a name for each of its parameters. The console checks at
// compile time that every function has an entry with as many names as it has
// parameters, so a function added to the list without its names does not
// build.
//
// No include guard: the table is meant to be expanded more than once.
#ifndef TVN_PARAM_NAMES
#error "define TVN_PARAM_NAMES(function, ...) before including tvn_param_names.h"
#endif

// Board
TVN_PARAM_NAMES(tvn_board_init)
TVN_PARAM_NAMES(tvn_board_close)

// Axis signal configuration
TVN_PARAM_NAMES(tvn_set_pulse_outmode, "轴号", "脉冲输出模式")
TVN_PARAM_NAMES(tvn_config_SD_PIN, "轴号", "启用", "有效电平", "减速方式")
TVN_PARAM_NAMES(tvn_config_PCS_PIN, "轴号", "启用", "有效电平")
TVN_PARAM_NAMES(tvn_config_INP_PIN, "轴号", "启用", "有效电平")
TVN_PARAM_NAMES(tvn_config_ERC_PIN, "轴号", "启用", "有效电平", "脉宽", "关断时间")
TVN_PARAM_NAMES(tvn_config_ALM_PIN, "轴号", "有效电平", "停止方式")
TVN_PARAM_NAMES(tvn_config_EL_MODE, "轴号", "限位模式")
TVN_PARAM_NAMES(tvn_set_HOME_pin_logic, "轴号", "有效电平", "滤波")
TVN_PARAM_NAMES(tvn_config_home_mode, "轴号", "回零模式", "EZ计数")
TVN_PARAM_NAMES(tvn_config_EZ_PIN, "轴号", "有效电平", "模式")
TVN_PARAM_NAMES(tvn_config_LTC_PIN, "轴号", "有效电平", "模式")
TVN_PARAM_NAMES(tvn_config_CSTA_PIN, "轴号", "模式")
TVN_PARAM_NAMES(tvn_counter_config, "轴号", "计数模式")
TVN_PARAM_NAMES(tvn_config_EMG_PIN, "卡号", "启用", "有效电平")
TVN_PARAM_NAMES(tvn_config_latch_mode, "卡号", "全部轴锁存")

// Motion
TVN_PARAM_NAMES(tvn_set_profile, "轴号", "初速度", "驱动速度", "加速时间", "减速时间")
TVN_PARAM_NAMES(tvn_set_st_profile, "轴号", "初速度", "驱动速度", "加速时间", "减速时间", "S段加速时间", "S段减速时间")
TVN_PARAM_NAMES(tvn_set_vector_profile, "初速度", "驱动速度", "加速时间", "减速时间")
TVN_PARAM_NAMES(tvn_t_pmove, "轴号", "位移", "位置模式")
TVN_PARAM_NAMES(tvn_s_pmove, "轴号", "位移", "位置模式")
TVN_PARAM_NAMES(tvn_t_vmove, "轴号", "方向")
TVN_PARAM_NAMES(tvn_home_move, "轴号", "方向", "速度模式")
TVN_PARAM_NAMES(tvn_t_line2, "第一轴", "第一轴终点", "第二轴", "第二轴终点", "位置模式")
TVN_PARAM_NAMES(tvn_arc_move, "轴号", "终点", "圆心", "方向")
TVN_PARAM_NAMES(tvn_rel_arc_move, "轴号", "终点", "圆心", "方向")
TVN_PARAM_NAMES(tvn_arc_move_unitmm, "轴号", "终点", "圆心", "方向")
TVN_PARAM_NAMES(tvn_rel_arc_move_unitmm, "轴号", "终点", "圆心", "方向")
TVN_PARAM_NAMES(tvn_change_speed, "轴号", "速度")
TVN_PARAM_NAMES(tvn_decel_stop, "轴号", "减速时间")
TVN_PARAM_NAMES(tvn_imd_stop, "轴号")
TVN_PARAM_NAMES(tvn_simultaneous_stop, "卡号")
TVN_PARAM_NAMES(tvn_set_sync_option, "轴号", "选项1", "选项2", "选项3", "选项4")
TVN_PARAM_NAMES(tvn_set_sync_stop_mode, "轴号", "停止方式")
TVN_PARAM_NAMES(tvn_start_move_all, "卡号")

// Position and speed
TVN_PARAM_NAMES(tvn_get_position, "轴号")
TVN_PARAM_NAMES(tvn_set_position, "轴号", "命令位置")
TVN_PARAM_NAMES(tvn_get_position_unitmm, "轴号", "命令位置毫米")
TVN_PARAM_NAMES(tvn_get_encoder, "轴号")
TVN_PARAM_NAMES(tvn_set_encoder, "轴号", "编码器计数")
TVN_PARAM_NAMES(tvn_read_current_speed, "轴号")
TVN_PARAM_NAMES(tvn_get_equiv, "轴号", "脉冲当量")
TVN_PARAM_NAMES(tvn_set_equiv, "轴号", "脉冲当量")

// Status and I/O
TVN_PARAM_NAMES(tvn_axis_status, "轴号")
TVN_PARAM_NAMES(tvn_axis_io_status, "轴号")
TVN_PARAM_NAMES(tvn_get_rsts, "轴号")
TVN_PARAM_NAMES(tvn_read_inbit, "卡号", "输入位")
TVN_PARAM_NAMES(tvn_read_outbit, "卡号", "输出位")
TVN_PARAM_NAMES(tvn_write_outbit, "卡号", "输出位", "电平")
TVN_PARAM_NAMES(tvn_read_inport, "卡号")
TVN_PARAM_NAMES(tvn_read_outport, "卡号")
TVN_PARAM_NAMES(tvn_write_outport, "卡号", "输出字")
TVN_PARAM_NAMES(tvn_read_SEVON_PIN, "轴号")
TVN_PARAM_NAMES(tvn_write_SEVON_PIN, "轴号", "电平")
TVN_PARAM_NAMES(tvn_read_RDY_PIN, "轴号")
TVN_PARAM_NAMES(tvn_write_ERC_PIN, "轴号", "电平")
TVN_PARAM_NAMES(tvn_read_CMP_PIN, "轴号")
TVN_PARAM_NAMES(tvn_write_CMP_PIN, "轴号", "电平")

// Latch
TVN_PARAM_NAMES(tvn_get_latch_value, "轴号")
TVN_PARAM_NAMES(tvn_get_latch_flag, "卡号")
TVN_PARAM_NAMES(tvn_reset_latch_flag, "卡号")
TVN_PARAM_NAMES(tvn_reset_clear_flag, "卡号")
TVN_PARAM_NAMES(tvn_triger_chunnel, "卡号", "通道")
TVN_PARAM_NAMES(tvn_set_speaker_logic, "卡号", "有效电平")

// Versions and firmware
TVN_PARAM_NAMES(tvn_get_card_version, "卡号", "硬件版本")
TVN_PARAM_NAMES(tvn_get_card_soft_version, "卡号", "版本1", "固件版本")
TVN_PARAM_NAMES(tvn_get_lib_version, "库版本", "版本2")
TVN_PARAM_NAMES(tvn_get_release_version, "卡号", "发布说明")
TVN_PARAM_NAMES(tvn_download_firmware, "卡号", "固件文件")
TVN_PARAM_NAMES(tvn_get_progress, "卡号", "进度")

// Registers
TVN_PARAM_NAMES(tvn_read_pcl_register, "卡号", "轴号", "寄存器")
TVN_PARAM_NAMES(read_dword_pld_register, "卡号", "寄存器")
TVN_PARAM_NAMES(write_dword_pld_register, "卡号", "寄存器", "值")
TVN_PARAM_NAMES(write_word_pcl_otpw, "卡号", "寄存器", "值")
