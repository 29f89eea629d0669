// The program-wide state a window test starts from.
#pragma once

#include <QFile>
#include <QString>

#include "settings/state.h"
#include "support/standin.h"

// A program as it starts for a window test: the settings files in `folder`
// (the hardware file gone), card 0 in use, and `cards` fresh simulated cards.
inline void FreshProgram(const QString& folder, int cards)
{
    SetSettingsPaths(folder);
    QFile::remove(HardwareSetPath);
    CurrentCardNo = 0;
    FreshCards(cards);
}
