#include "motionsettings.h"

#include <QFileInfo>

#include "settings/apply.h"
#include "settings/ini.h"

namespace {

// Every key of Motion_set.txt and the field it holds, in the order the keys
// are written: read and write go through this one table.
using Texts = std::array<QString, 4> MotionFields::*;
using Choice = bool MotionFields::*;

// Per axis section, for slots 0 and 1: texts, and the direction ("0"
// positive).
struct AxisKey {
    const char* key;
    Texts texts; // nullptr: the direction
};
constexpr AxisKey kAxisKeys[] = {
    {"STRVEL", &MotionFields::startSpeed},    {"MAXVEL", &MotionFields::driveSpeed},
    {"POSITION", &MotionFields::endPosition}, {"TACC", &MotionFields::accelTime},
    {"TSACC", &MotionFields::sCurveTime},     {"DIR", nullptr},
};

// Per axis section, for slots 0 to 3: the interpolation end, from ARCEND with
// its centre when the mode is arc interpolation, from LINEEND otherwise.
constexpr char kArcEnd[] = "ARCEND";
constexpr char kArcCenter[] = "ARCCENTER";
constexpr char kLineEnd[] = "LINEEND";

// In UTILITY: the mode, the two-choice options ("0": the first button), the
// interpolation texts.
constexpr char kMode[] = "MOTIONMODE";
struct ChoiceKey {
    const char* key;
    Choice first;
};
constexpr ChoiceKey kChoiceKeys[] = {
    {"POSMODE", &MotionFields::relative},
    {"STOPMODE", &MotionFields::decelStop},
    {"VELCURVE", &MotionFields::trapezoid},
    {"ARCDIR", &MotionFields::clockwise},
};
struct TextKey {
    const char* key;
    QString MotionFields::*text;
};
constexpr TextKey kUtilityTexts[] = {
    {"INTERSTRVEL", &MotionFields::interpStartSpeed},
    {"INTERMAXVEL", &MotionFields::interpDriveSpeed},
    {"INTERTACC", &MotionFields::interpAccelTime},
    {"INTERTSACC", &MotionFields::interpSCurveTime},
};

QString ChoiceText(bool first) { return first ? QStringLiteral("0") : QStringLiteral("1"); }

} // namespace

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
        for (const AxisKey& k : kAxisKeys)
            write(section, k.key, k.texts ? (f.*k.texts)[n] : ChoiceText(f.direction[n] == kPositive));
    }
    for (int n = 0; n < 4; ++n) {
        const QString section = AxisSection(n);
        if (f.mode == MotionFields::Arc) {
            write(section, kArcEnd, f.interpEnd[n]);
            write(section, kArcCenter, f.arcCenter[n]);
        } else {
            write(section, kLineEnd, f.interpEnd[n]);
        }
    }
    const QString utility = UtilitySection();
    write(utility, kMode, QString::number(f.mode));
    for (const ChoiceKey& k : kChoiceKeys)
        write(utility, k.key, ChoiceText(f.*k.first));
    for (const TextKey& k : kUtilityTexts)
        write(utility, k.key, f.*k.text);
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
        for (const AxisKey& k : kAxisKeys) {
            const QString value = read(section, k.key);
            if (k.texts)
                (f.*k.texts)[n] = value;
            else
                f.direction[n] = value == QLatin1String("0") ? kPositive : kNegative;
        }
    }
    const QString utility = UtilitySection();
    const QString mode = read(utility, kMode);
    f.mode = MotionFields::Arc;
    for (int m = MotionFields::Home; m < MotionFields::Arc; ++m)
        if (mode == QString::number(m))
            f.mode = m;
    for (int n = 0; n < 4; ++n) {
        const QString section = AxisSection(n);
        if (f.mode == MotionFields::Arc) {
            f.interpEnd[n] = read(section, kArcEnd);
            f.arcCenter[n] = read(section, kArcCenter);
        } else {
            f.interpEnd[n] = read(section, kLineEnd);
        }
    }
    for (const ChoiceKey& k : kChoiceKeys)
        f.*k.first = read(utility, k.key) == QLatin1String("0");
    for (const TextKey& k : kUtilityTexts)
        f.*k.text = read(utility, k.key);
    return true;
}
