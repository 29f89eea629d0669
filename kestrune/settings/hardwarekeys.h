// The keys of hardware_set.txt, each named once: the settings table that
// saves and loads them, the routine that sends them to the card and the
// parameter window's controls all use these names.
#pragma once

namespace hwkey {

inline constexpr char kPulseOutMode[] = "PULSEOUTMODE";
inline constexpr char kHomeMode[] = "HOMEMODE";
inline constexpr char kHomeLogic[] = "HOMELOGIC";
inline constexpr char kHomeSpeedMode[] = "HOMESPEEDMODE";
inline constexpr char kEzEnable[] = "EZENABLE";
inline constexpr char kEzLogic[] = "EZLOGIC";
inline constexpr char kLtcLogic[] = "LTCLOGIC";
inline constexpr char kLogicHome[] = "LOGICHOME";
inline constexpr char kPulseInMode[] = "PULSEINMODE";
inline constexpr char kSdEnable[] = "SDENABLE";
inline constexpr char kSdLogic[] = "SDLOGIC";
inline constexpr char kSdMode[] = "SDMODE";
inline constexpr char kAlmStopMode[] = "ALMSTOPMODE";
inline constexpr char kAlmLogic[] = "ALMLOGIC";
inline constexpr char kPcsEnable[] = "PCSENABLE";
inline constexpr char kPcsLogic[] = "PCSLOGIC";
inline constexpr char kInpEnable[] = "INPENABLE";
inline constexpr char kInpLogic[] = "INPLOGIC";
inline constexpr char kErcEnable[] = "ERCENABLE";
inline constexpr char kErcLogic[] = "ERCLOGIC";
inline constexpr char kHplStop[] = "HPLSTOP";
inline constexpr char kHplLogic[] = "HPLLOGIC";
inline constexpr char kSplEnable[] = "SPLENABLE";
inline constexpr char kSplCounter[] = "SPLCOUNTER";
inline constexpr char kSplPos[] = "SPLPOS";
inline constexpr char kSnlCounter[] = "SNLCOUNTER";
inline constexpr char kSnlPos[] = "SNLPOS";
inline constexpr char kExDriveMode[] = "EXDRIVEMODE";
inline constexpr char kHWheelLength[] = "HWHEELLENGTH";
inline constexpr char kExDriveVel[] = "EXDRIVEVEL";
inline constexpr char kLatchAllAxis[] = "LATCHALLAXIS";
inline constexpr char kEmgEnable[] = "EMGENABLE";
inline constexpr char kEmgLogic[] = "EMGLOGIC";

} // namespace hwkey
