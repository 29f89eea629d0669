#include "motionsettings.h"

#include <QFileInfo>

#include "settings/apply.h"
#include "settings/ini.h"

namespace {

const QString kUtility = QStringLiteral("UTILITY");

QString Choice(bool first) { return first ? QStringLiteral("0") : QStringLiteral("1"); }

}  // namespace

int WriteMotionSettings(const MotionFields& f, const QString& path)
{
    if (!QFileInfo::exists(path))
        return 0;
    IniBatch batch(path);
    const auto write = [&](const QString& section, const char* key, const QString& value) {
        batch.Write(section, QLatin1String(key), value);
    };
    for (int n = 0; n < 2; ++n) {
        const QString section = AxisSection(n);
        write(section, "STRVEL", f.startSpeed[n]);
        write(section, "MAXVEL", f.driveSpeed[n]);
        write(section, "POSITION", f.endPosition[n]);
        write(section, "TACC", f.accelTime[n]);
        write(section, "TSACC", f.sCurveTime[n]);
        write(section, "DIR", Choice(f.direction[n] == kPositive));
    }
    for (int n = 0; n < 4; ++n) {
        const QString section = AxisSection(n);
        if (f.mode == MotionFields::Arc) {
            write(section, "ARCEND", f.interpEnd[n]);
            write(section, "ARCCENTER", f.arcCenter[n]);
        } else {
            write(section, "LINEEND", f.interpEnd[n]);
        }
    }
    write(kUtility, "MOTIONMODE", QString::number(f.mode));
    write(kUtility, "POSMODE", Choice(f.relative));
    write(kUtility, "STOPMODE", Choice(f.decelStop));
    write(kUtility, "VELCURVE", Choice(f.trapezoid));
    write(kUtility, "ARCDIR", Choice(f.clockwise));
    write(kUtility, "INTERSTRVEL", f.interpStartSpeed);
    write(kUtility, "INTERMAXVEL", f.interpDriveSpeed);
    write(kUtility, "INTERTACC", f.interpAccelTime);
    write(kUtility, "INTERTSACC", f.interpSCurveTime);
    return batch.Commit();
}

bool ReadMotionSettings(const QString& path, MotionFields& f)
{
    if (!QFileInfo::exists(path))
        return false;
    const IniFile file(path);
    const auto read = [&](const QString& section, const char* key) { return file.Value(section, QLatin1String(key)); };
    for (int n = 0; n < 2; ++n) {
        const QString section = AxisSection(n);
        f.startSpeed[n] = read(section, "STRVEL");
        f.driveSpeed[n] = read(section, "MAXVEL");
        f.endPosition[n] = read(section, "POSITION");
        f.direction[n] = read(section, "DIR") == QLatin1String("0") ? kPositive : kNegative;
        f.accelTime[n] = read(section, "TACC");
        f.sCurveTime[n] = read(section, "TSACC");
    }
    const QString mode = read(kUtility, "MOTIONMODE");
    f.mode = MotionFields::Arc;
    for (int m = MotionFields::Home; m < MotionFields::Arc; ++m)
        if (mode == QString::number(m))
            f.mode = m;
    for (int n = 0; n < 4; ++n) {
        const QString section = AxisSection(n);
        if (f.mode == MotionFields::Arc) {
            f.interpEnd[n] = read(section, "ARCEND");
            f.arcCenter[n] = read(section, "ARCCENTER");
        } else {
            f.interpEnd[n] = read(section, "LINEEND");
        }
    }
    const auto first = [&](const char* key) { return read(kUtility, key) == QLatin1String("0"); };
    f.relative = first("POSMODE");
    f.decelStop = first("STOPMODE");
    f.trapezoid = first("VELCURVE");
    f.clockwise = first("ARCDIR");
    f.interpStartSpeed = read(kUtility, "INTERSTRVEL");
    f.interpDriveSpeed = read(kUtility, "INTERMAXVEL");
    f.interpAccelTime = read(kUtility, "INTERTACC");
    f.interpSCurveTime = read(kUtility, "INTERTSACC");
    return true;
}
