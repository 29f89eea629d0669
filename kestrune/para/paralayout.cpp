#include "paralayout.h"

#include <array>

#include "settings/hardwarekeys.h"

namespace {

// Frames before the frames they hold. Frames that lie beneath a larger frame
// in the layout, and the engineering blocks, are hidden.
constexpr FrameSpec kFrames[] = {
    {"Frame12", "加载指定轴的参数", "", 240, 5280, 3375, 975},
    {"Frame13", "保存参数到指定轴", "", 4200, 5280, 3255, 975},
    // Tab 0: pulse output
    {"Frame5", "脉冲类型", "tab0", 240, 600, 7095, 3855},
    {"Frame1", "脉冲指令类型", "tab0", 840, 1080, 2055, 1215, true},
    {"Frame2", "脉冲输出有效电平", "tab0", 840, 2520, 2055, 1335, true},
    {"Frame23", "", "tab0", 240, 600, 1000, 600, true},
    // Tab 1: homing
    {"Frame4", "找原点运动设置", "tab1", 720, 480, 5775, 1455},
    {"Frame9(1)", "速度方式", "Frame4", 240, 300, 2535, 975},
    {"Frame8", "原点有效电平", "Frame4", 3000, 300, 2535, 975},
    {"Frame42", "原点方式", "tab1", 720, 2040, 3255, 1215},
    // Tab 2: counting
    {"Frame14", "脉冲输入模式", "tab2", 600, 600, 2655, 2175},
    {"Frame6", "EZ信号设置", "tab2", 3480, 600, 3855, 1215},
    {"Frame10", "EZ有效电平", "Frame6", 120, 300, 1755, 795},
    {"Frame9(0)", "EZ清零计数器", "Frame6", 1980, 300, 1755, 795},
    {"Frame9(2)", "触发方式", "tab2", 3480, 2040, 3855, 1455},
    {"Frame7", "LTC有效电平", "Frame9(2)", 120, 300, 1755, 975},
    {"Frame11", "锁存方式", "Frame9(2)", 1980, 300, 1755, 975},
    {"Frame15", "ALARM信号", "tab2", 600, 2880, 2655, 1215, true},
    {"Frame24", "ALARM使能", "Frame15", 120, 300, 2400, 795},
    // Tab 3: limits, EMG, SD
    {"Frame19", "硬件限位", "tab3", 240, 480, 3375, 2055},
    {"Frame32(1)", "响应方式", "Frame19", 120, 300, 3135, 795},
    {"Frame3", "有效电平", "Frame19", 120, 1140, 3135, 795},
    {"Frame21", "EMG信号", "tab3", 240, 2880, 3375, 1575},
    {"Frame38", "使能", "Frame21", 120, 280, 3135, 600},
    {"Frame44", "有效电平", "Frame21", 120, 900, 3135, 600},
    {"Frame39", "SD信号", "tab3", 3960, 480, 3132, 2655},
    {"Frame22", "使能", "Frame39", 120, 280, 2892, 600},
    {"Frame41", "SD有效电平", "Frame39", 120, 900, 2892, 600},
    {"Frame43", "信号锁存", "Frame39", 120, 1540, 2892, 960},
    {"Frame20", "软件限位", "tab3", 3960, 3180, 3132, 1300, true},
    {"Frame34(1)", "软件限位使能", "Frame20", 120, 240, 1400, 500},
    {"Frame28", "响应方式", "Frame20", 1600, 240, 1400, 500},
    {"Frame26", "软件正限位", "Frame20", 120, 780, 1400, 500, true},
    {"Frame30", "软件限位使能", "Frame26", 60, 200, 1300, 280},
    {"Frame31", "进行比较的计数器", "Frame26", 60, 200, 1300, 280, true},
    {"Frame27", "软件负限位", "Frame20", 1600, 780, 1400, 500, true},
    {"Frame34(0)", "软件限位使能", "Frame27", 60, 200, 1300, 280},
    {"Frame35", "进行比较的计数器", "Frame27", 60, 200, 1300, 280, true},
    // Tab 4: servo signals
    {"Frame49", "ALARM信号", "tab4", 120, 360, 3252, 1575},
    {"Frame32(0)", "响应方式", "Frame49", 120, 280, 3012, 600},
    {"Frame25", "ALARM有效电平", "Frame49", 120, 900, 3012, 600},
    {"Frame16", "INP信号", "tab4", 120, 2160, 3255, 1575},
    {"Frame17", "INP使能", "Frame16", 120, 280, 3015, 600},
    {"Frame18", "INP有效电平", "Frame16", 120, 900, 3015, 600},
    {"Frame46", "PCS信号", "tab4", 3600, 360, 3372, 1575},
    {"Frame47", "使能", "Frame46", 120, 280, 3132, 600},
    {"Frame48", "PCS有效电平", "Frame46", 120, 900, 3132, 600},
    {"Frame29", "ERC信号", "tab4", 3600, 2160, 3372, 1572},
    {"Frame33", "使能", "Frame29", 120, 280, 3132, 600},
    {"Frame45", "ERC有效电平", "Frame29", 120, 900, 3132, 600},
    {"Frame36", "外部脉冲驱动", "tab4", 120, 3840, 6852, 500, true},
    {"Frame37", "外部脉冲驱动模式", "tab4", 120, 3840, 6852, 900, true},
    {"Frame40", "输出轴", "Frame37", 120, 240, 4000, 600},
};

// Two buttons side by side in a short frame: the usual pair.
#define PAIR(frame, first, firstCaption, second, secondCaption) \
    {first, firstCaption, frame, 240, 250, 1300, 270}, { second, secondCaption, frame, 1560, 250, 1300, 270 }

constexpr ControlSpec kOptions[] = {
    {"OB_LoadHParaAxis(0)", "第0轴", "Frame12", 120, 360, 900, 300},
    {"OB_LoadHParaAxis(1)", "第1轴", "Frame12", 1080, 360, 900, 300},
    {"OB_LoadHParaAxis(2)", "第2轴", "Frame12", 120, 660, 900, 300, true, true},
    {"OB_LoadHParaAxis(3)", "第3轴", "Frame12", 1080, 660, 900, 300, true, true},

    {"OB_PulseMode(0)", "类型0(脉冲+方向)", "Frame5", 840, 360, 2300, 240},
    {"OB_PulseMode(1)", "类型1(脉冲+方向)", "Frame5", 3240, 360, 2300, 240},
    {"OB_PulseMode(2)", "类型2(脉冲+方向)", "Frame5", 840, 600, 2300, 240},
    {"OB_PulseMode(3)", "类型3(脉冲+方向)", "Frame5", 3240, 600, 2300, 240},
    {"OB_PulseMode(4)", "类型4(双脉冲)", "Frame5", 840, 840, 2300, 240},
    {"OB_PulseMode(5)", "类型5(双脉冲)", "Frame5", 3240, 840, 2300, 240},
    {"OB_PulseMode(6)", "类型6(正交脉冲)", "Frame5", 840, 1080, 2300, 240, true},
    {"OB_PulseMode(7)", "类型7(正交脉冲)", "Frame5", 3240, 1080, 2300, 240, true},
    {"OB_PlsmodePlsDir", "脉冲/方向", "Frame1", 240, 360, 1600, 300},
    {"OB_PlsmodeCWCCW", "脉冲/脉冲", "Frame1", 240, 720, 1600, 300},
    {"OB_PlslogicLow", "下降沿有效", "Frame2", 240, 360, 1600, 300},
    {"OB_PlslogicHigh", "上升沿有效", "Frame2", 240, 720, 1600, 300},

    {"OptionSMCHomeLowV", "低速", "Frame9(1)", 240, 300, 2000, 270},
    {"OptionSMCHomeHighV", "高速", "Frame9(1)", 240, 600, 2000, 270},
    {"OB_HomeLogicLow", "低电平有效", "Frame8", 240, 300, 2000, 270},
    {"OB_HomeLogicHigh", "高电平有效", "Frame8", 240, 600, 2000, 270},
    {"OptionSMChomeOnly", "只找原点", "Frame42", 240, 330, 1200, 270},
    {"OptionSMChomeEZ", "原点+EZ", "Frame42", 240, 750, 1200, 270},

    {"OB_IptmodeCWCCW", "非AB相 （脉冲/方向）", "Frame14", 180, 420, 2400, 270, true},
    {"OB_IptmodeAB1", "AB相 1倍计数（1X A/B）", "Frame14", 180, 540, 2400, 270},
    {"OB_IptmodeAB2", "AB相 2倍计数（2X A/B）", "Frame14", 180, 1080, 2400, 270},
    {"OB_IptmodeAB4", "AB相 4倍计数（4X A/B）", "Frame14", 180, 1620, 2400, 270},
    {"OB_EZLogicLow", "低有效", "Frame10", 240, 240, 1400, 255},
    {"OB_EZLogicHigh", "高有效", "Frame10", 240, 510, 1400, 255},
    {"OB_EZDisable", "禁止", "Frame9(0)", 240, 240, 1400, 255},
    {"OB_EZEnable", "使能", "Frame9(0)", 240, 510, 1400, 255},
    {"OB_LTCLogicLow", "低有效", "Frame7", 240, 300, 1400, 255},
    {"OB_LTCLogicHigh", "高有效", "Frame7", 240, 600, 1400, 255},
    {"OptionLatchALL(0)", "所有轴", "Frame11", 240, 300, 1400, 255},
    {"OptionLatchALL(1)", "单轴", "Frame11", 240, 600, 1400, 255},
    PAIR("Frame24", "OB_ALMDisable", "禁止", "OB_ALMEnable", "使能"),

    PAIR("Frame32(1)", "OB_HPLEmgStop", "立即停止", "OB_HPLDecStop", "减速停止"),
    PAIR("Frame3", "OB_HPLLogLow", "低电平有效", "OB_HPLLogHigh", "高电平有效"),
    PAIR("Frame38", "OptionEMGDisable", "禁止", "OptionEMGEnable", "使能"),
    PAIR("Frame44", "OptionEmgLogicLow", "低电平有效", "OptionEmgLogicHigh", "高电平有效"),
    PAIR("Frame22", "OptionSDdisable", "禁止", "OptionSDenable", "使能"),
    PAIR("Frame41", "OptionSDlogicLow", "低电平有效", "OptionSDlogicHigh", "高电平有效"),
    {"OptionSDMode(0)", "减速", "Frame43", 120, 300, 1200, 270},
    {"OptionSDMode(1)", "减速到停", "Frame43", 1320, 300, 1500, 270},
    {"OptionSDMode(2)", "减速,锁存", "Frame43", 120, 620, 1200, 270},
    {"OptionSDMode(3)", "减速到停,锁存", "Frame43", 1320, 620, 1500, 270},
    {"OB_SoftLimitDisable", "禁止", "Frame34(1)", 60, 220, 600, 240},
    {"OB_SoftLimitEnable", "使能", "Frame34(1)", 700, 220, 600, 240},
    {"OB_SoftLimitEmgStop", "立即停止", "Frame28", 60, 220, 600, 240},
    {"OB_SoftLimitDecStop", "减速停止", "Frame28", 700, 220, 600, 240},
    {"OB_SPLDisable", "禁止", "Frame30", 60, 20, 600, 240},
    {"OB_SPLEnable", "使能", "Frame30", 700, 20, 600, 240},
    {"OB_SPLComCounter", "命令计数器", "Frame31", 60, 20, 600, 240},
    {"OB_SPLEncCounter", "反馈计数器", "Frame31", 700, 20, 600, 240},
    {"OB_SNLDisable(0)", "禁止", "Frame34(0)", 60, 20, 600, 240},
    {"OB_SNLEnable(0)", "使能", "Frame34(0)", 700, 20, 600, 240},
    {"OB_SNLComCounter", "命令计数器", "Frame35", 60, 20, 600, 240},
    {"OB_SNLEncCounter", "反馈计数器", "Frame35", 700, 20, 600, 240},

    PAIR("Frame32(0)", "OB_ALMimdstop", "立即停止", "OB_ALMdecstop", "减速停止"),
    PAIR("Frame25", "OB_ALMLogicLow", "低电平有效", "OB_ALMLogicHigh", "高电平有效"),
    PAIR("Frame17", "OB_INPDisable", "禁止", "OB_INPEnable", "使能"),
    PAIR("Frame18", "OB_INPLogicLow", "低电平有效", "OB_INPLogicHigh", "高电平有效"),
    PAIR("Frame47", "OB_PCSdisable", "禁止", "OB_PCSenable", "使能"),
    PAIR("Frame48", "OB_PCSLogicLow", "低电平有效", "OB_PCSLogicHigh", "高电平有效"),
    PAIR("Frame33", "OB_ERCdisable", "禁止", "OB_ERCenable", "使能"),
    PAIR("Frame45", "OB_ERCLogicLow", "低电平有效", "OB_ERCLogicHigh", "高电平有效"),
    {"OB_EXDisable", "禁止外部脉冲驱动", "Frame36", 120, 240, 2000, 240},
    {"OB_EXJOG", "JOG运动模式", "Frame36", 2280, 240, 2000, 240},
    {"OB_EXHWheel", "手轮运动模式", "Frame36", 4440, 240, 2000, 240},
    {"OB_EXOutMode0", "输出轴号与输入轴号对应", "Frame40", 60, 200, 3800, 240, false, true},
    {"OB_EXOutMode1", "输出轴号由IN1和IN2决定(只适合第0轴和第1轴）", "Frame40", 60, 200, 3800, 240, true, true},
    {"OB_EXOutMode2", "控制四个轴同时输出", "Frame40", 60, 200, 3800, 240, true, true},
};

#undef PAIR

constexpr ControlSpec kTexts[] = {
    {"TextSMCEzNum", "1", "Frame42", 1440, 720, 450, 330},
    {"T_LogicHomePos", "0", "tab1", 1800, 2760, 1215, 285, true},
    {"T_SPLPos", "0", "Frame20", 1200, 1080, 600, 200},
    {"T_SNLPos", "0", "Frame20", 2400, 1080, 600, 200},
    {"T_HWheelLength", "0", "Frame37", 4300, 240, 800, 250},
    {"T_ExDriveVel", "0", "Frame37", 4300, 560, 800, 250},
};

constexpr ControlSpec kLabels[] = {
    {"Label11(1)", "EZ个数(1-16)", "Frame42", 1950, 750, 1260, 270},
    {"Label10", "逻辑原点偏移量", "tab1", 480, 2790, 1300, 270, true},
    {"Label9",
     "注：物理原点即为原点开关，逻辑原点是相对物理原点指定偏移量的      位置；正负限位可以是硬件限位也可以是软件限位。",
     "tab1", 1080, 4320, 5535, 450},
    {"Label5", "负向限位", "tab1", 480, 3240, 900, 270},
    {"Label7", "物理原点", "tab1", 2160, 3960, 900, 270},
    {"Label8", "逻辑原点", "tab1", 3960, 3960, 900, 270},
    {"Label6", "正向限位", "tab1", 6240, 3240, 900, 270},
    {"Label12", "", "tab2", 600, 2880, 600, 270, true},
    {"Label3", "软件正限位值", "Frame20", 120, 1080, 1000, 200},
    {"Label4", "软件负限位值", "Frame20", 1850, 1080, 550, 200},
    {"Label13", "手轮模式脉冲长度", "Frame37", 4300, 0, 1200, 240},
    {"Label14", "外部脉冲驱动速度", "Frame37", 5200, 560, 1200, 240},
    {"Label2", "", "Frame37", 5200, 240, 600, 240},
};

template <size_t N>
constexpr std::span<const char* const> Names(const std::array<const char*, N>& names)
{
    return names;
}

constexpr std::array<const char*, 8> kPulseModes = {"OB_PulseMode(0)", "OB_PulseMode(1)", "OB_PulseMode(2)",
                                                    "OB_PulseMode(3)", "OB_PulseMode(4)", "OB_PulseMode(5)",
                                                    "OB_PulseMode(6)", "OB_PulseMode(7)"};
constexpr std::array<const char*, 4> kSdModes = {"OptionSDMode(0)", "OptionSDMode(1)", "OptionSDMode(2)",
                                                 "OptionSDMode(3)"};
constexpr std::array<const char*, 4> kPulseIn = {"OB_IptmodeCWCCW", "OB_IptmodeAB1", "OB_IptmodeAB2", "OB_IptmodeAB4"};
constexpr std::array<const char*, 3> kExDrive = {"OB_EXDisable", "OB_EXJOG", "OB_EXHWheel"};

#define TWO(key, first, second) constexpr std::array<const char*, 2> k##key = {first, second};
TWO(HomeMode, "OptionSMChomeOnly", "OptionSMChomeEZ")
TWO(HomeLogic, "OB_HomeLogicLow", "OB_HomeLogicHigh")
TWO(HomeSpeed, "OptionSMCHomeLowV", "OptionSMCHomeHighV")
TWO(EzEnable, "OB_EZDisable", "OB_EZEnable")
TWO(EzLogic, "OB_EZLogicLow", "OB_EZLogicHigh")
TWO(LtcLogic, "OB_LTCLogicLow", "OB_LTCLogicHigh")
TWO(SdEnable, "OptionSDdisable", "OptionSDenable")
TWO(SdLogic, "OptionSDlogicLow", "OptionSDlogicHigh")
TWO(AlmStop, "OB_ALMimdstop", "OB_ALMdecstop")
TWO(AlmLogic, "OB_ALMLogicLow", "OB_ALMLogicHigh")
TWO(PcsEnable, "OB_PCSdisable", "OB_PCSenable")
TWO(PcsLogic, "OB_PCSLogicLow", "OB_PCSLogicHigh")
TWO(InpEnable, "OB_INPDisable", "OB_INPEnable")
TWO(InpLogic, "OB_INPLogicLow", "OB_INPLogicHigh")
TWO(ErcEnable, "OB_ERCdisable", "OB_ERCenable")
TWO(ErcLogic, "OB_ERCLogicLow", "OB_ERCLogicHigh")
TWO(HplStop, "OB_HPLEmgStop", "OB_HPLDecStop")
TWO(HplLogic, "OB_HPLLogLow", "OB_HPLLogHigh")
TWO(SplEnable, "OB_SPLDisable", "OB_SPLEnable")
TWO(SplCounter, "OB_SPLComCounter", "OB_SPLEncCounter")
TWO(SnlCounter, "OB_SNLComCounter", "OB_SNLEncCounter")
TWO(LatchAll, "OptionLatchALL(0)", "OptionLatchALL(1)")
TWO(EmgEnable, "OptionEMGDisable", "OptionEMGEnable")
TWO(EmgLogic, "OptionEmgLogicLow", "OptionEmgLogicHigh")
#undef TWO

constexpr std::array<const char*, 1> kLogicHome = {"T_LogicHomePos"};
constexpr std::array<const char*, 1> kSplPos = {"T_SPLPos"};
constexpr std::array<const char*, 1> kSnlPos = {"T_SNLPos"};
constexpr std::array<const char*, 1> kHWheelLength = {"T_HWheelLength"};
constexpr std::array<const char*, 1> kExDriveVel = {"T_ExDriveVel"};

constexpr KeyControls kKeyControls[] = {
    {hwkey::kPulseOutMode, Names(kPulseModes)},
    {hwkey::kHomeMode, Names(kHomeMode)},
    {hwkey::kHomeLogic, Names(kHomeLogic)},
    {hwkey::kHomeSpeedMode, Names(kHomeSpeed)},
    {hwkey::kEzEnable, Names(kEzEnable)},
    {hwkey::kEzLogic, Names(kEzLogic)},
    {hwkey::kLtcLogic, Names(kLtcLogic)},
    {hwkey::kLogicHome, Names(kLogicHome)},
    {hwkey::kPulseInMode, Names(kPulseIn)},
    {hwkey::kSdEnable, Names(kSdEnable)},
    {hwkey::kSdLogic, Names(kSdLogic)},
    {hwkey::kSdMode, Names(kSdModes)},
    {hwkey::kAlmStopMode, Names(kAlmStop)},
    {hwkey::kAlmLogic, Names(kAlmLogic)},
    {hwkey::kPcsEnable, Names(kPcsEnable)},
    {hwkey::kPcsLogic, Names(kPcsLogic)},
    {hwkey::kInpEnable, Names(kInpEnable)},
    {hwkey::kInpLogic, Names(kInpLogic)},
    {hwkey::kErcEnable, Names(kErcEnable)},
    {hwkey::kErcLogic, Names(kErcLogic)},
    {hwkey::kHplStop, Names(kHplStop)},
    {hwkey::kHplLogic, Names(kHplLogic)},
    {hwkey::kSplEnable, Names(kSplEnable)},
    {hwkey::kSplCounter, Names(kSplCounter)},
    {hwkey::kSplPos, Names(kSplPos)},
    {hwkey::kSnlCounter, Names(kSnlCounter)},
    {hwkey::kSnlPos, Names(kSnlPos)},
    {hwkey::kExDriveMode, Names(kExDrive)},
    {hwkey::kHWheelLength, Names(kHWheelLength)},
    {hwkey::kExDriveVel, Names(kExDriveVel)},
    {hwkey::kLatchAllAxis, Names(kLatchAll)},
    {hwkey::kEmgEnable, Names(kEmgEnable)},
    {hwkey::kEmgLogic, Names(kEmgLogic)},
};

} // namespace

std::span<const FrameSpec> ParaFrames() { return kFrames; }
std::span<const ControlSpec> ParaOptions() { return kOptions; }
std::span<const ControlSpec> ParaTexts() { return kTexts; }
std::span<const ControlSpec> ParaLabels() { return kLabels; }
std::span<const KeyControls> ParaKeyControls() { return kKeyControls; }
