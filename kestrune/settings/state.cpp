#include "state.h"

void SetSettingsPaths(const QString& programDirectory)
{
    HardwareSetPath = programDirectory + "/hardware_set.txt";
    MotionSetPath = programDirectory + "/Motion_set.txt";
}
