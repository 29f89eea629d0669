#include "hardwaresettings.h"

#include <QFileInfo>

#include <array>
#include <cmath>

#include "apply.h"
#include "numbertext.h"
#include "hardwarekeys.h"
#include "ini.h"

namespace {

using K = HardwareKeyKind;

constexpr std::array<HardwareKey, 33> kKeys = {{
    {hwkey::kPulseOutMode, K::Indexed, false},  {hwkey::kHomeMode, K::TwoChoice, false},
    {hwkey::kHomeLogic, K::TwoChoice, false},   {hwkey::kHomeSpeedMode, K::TwoChoice, false},
    {hwkey::kEzEnable, K::TwoChoice, false},    {hwkey::kEzLogic, K::TwoChoice, false},
    {hwkey::kLtcLogic, K::TwoChoice, false},    {hwkey::kLogicHome, K::Text, false},
    {hwkey::kPulseInMode, K::PulseIn, false},   {hwkey::kSdEnable, K::TwoChoice, false},
    {hwkey::kSdLogic, K::TwoChoice, false},     {hwkey::kSdMode, K::Indexed, false},
    {hwkey::kAlmStopMode, K::TwoChoice, false}, {hwkey::kAlmLogic, K::TwoChoice, false},
    {hwkey::kPcsEnable, K::TwoChoice, false},   {hwkey::kPcsLogic, K::TwoChoice, false},
    {hwkey::kInpEnable, K::TwoChoice, false},   {hwkey::kInpLogic, K::TwoChoice, false},
    {hwkey::kErcEnable, K::TwoChoice, false},   {hwkey::kErcLogic, K::TwoChoice, false},
    {hwkey::kHplStop, K::TwoChoice, false},     {hwkey::kHplLogic, K::TwoChoice, false},
    {hwkey::kSplEnable, K::TwoChoice, false},   {hwkey::kSplCounter, K::TwoChoice, false},
    {hwkey::kSplPos, K::Text, false},           {hwkey::kSnlCounter, K::TwoChoice, false},
    {hwkey::kSnlPos, K::Text, false},           {hwkey::kExDriveMode, K::ExDrive, false},
    {hwkey::kHWheelLength, K::Text, false},     {hwkey::kExDriveVel, K::Text, false},
    {hwkey::kLatchAllAxis, K::LatchAll, true},  {hwkey::kEmgEnable, K::TwoChoice, true},
    {hwkey::kEmgLogic, K::TwoChoice, true},
}};

// Buttons of the two indexed groups: eight pulse types, four SD actions.
int ButtonCount(const QString& key) { return key == QLatin1String(hwkey::kPulseOutMode) ? 8 : 4; }

int Selected(const HardwareFields& fields, const QString& key)
{
    const auto it = fields.selected.find(key);
    return it == fields.selected.end() ? -1 : it->second;
}

// The value saved for a group, or nothing when the key is not to be written.
std::optional<QString> SavedValue(const HardwareKey& key, const HardwareFields& fields)
{
    const QString name = QLatin1String(key.name);
    const int index = Selected(fields, name);
    switch (key.kind) {
    case K::Indexed:
        // The blank stands where a minus sign would go.
        return index < 0 ? std::nullopt : std::optional<QString>(QStringLiteral(" %1").arg(index));
    case K::TwoChoice: return index == 0 ? QStringLiteral("0") : QStringLiteral("1");
    case K::Text: return fields.texts.count(name) ? fields.texts.at(name) : QString();
    case K::PulseIn: return index >= 1 && index <= 3 ? QString::number(index) : QStringLiteral("0");
    case K::ExDrive: return index == 0 || index == 1 ? QString::number(index) : QStringLiteral("2");
    case K::LatchAll: return index == 0 ? QStringLiteral("1") : QStringLiteral("0");
    }
    return std::nullopt;
}

// The index a loaded value selects; nothing leaves the group as it is; -1
// clears it.
std::optional<int> LoadedIndex(const HardwareKey& key, const QString& value, int current)
{
    switch (key.kind) {
    case K::Indexed: {
        const double number = NumericPrefix(value);
        // An SD action of 4 or more names no button; neither does a rounded
        // index outside the group (a negative one, or 3.5 up to 4).
        if (key.name == QLatin1String(hwkey::kSdMode) && number >= 4)
            return std::nullopt;
        const double index = RoundHalfEven(number);
        if (!(index >= 0 && index < ButtonCount(QLatin1String(key.name))))
            return std::nullopt;
        return static_cast<int>(index);
    }
    case K::TwoChoice: return value == QLatin1String("0") ? 0 : 1;
    case K::Text: return std::nullopt;
    case K::PulseIn: {
        for (int i = 0; i < 4; ++i)
            if (value == QString::number(i))
                return i;
        return std::nullopt;
    }
    case K::ExDrive: return value == QLatin1String("0") ? 0 : (value == QLatin1String("1") ? 1 : 2);
    case K::LatchAll:
        // "0" clears 所有轴 without selecting 单轴.
        if (value != QLatin1String("0"))
            return 0;
        return current == 0 ? std::optional<int>(-1) : std::nullopt;
    }
    return std::nullopt;
}

QString SectionOf(const HardwareKey& key, int axis) { return key.utility ? UtilitySection() : AxisSection(axis); }

} // namespace

std::span<const HardwareKey> HardwareKeys() { return kKeys; }

void WriteHardwareSettings(int axis, const HardwareFields& fields, IniBatch& batch)
{
    for (const HardwareKey& key : kKeys)
        if (const auto value = SavedValue(key, fields))
            batch.Write(SectionOf(key, axis), QLatin1String(key.name), *value);
}

int WriteHardwareSettings(int axis, const HardwareFields& fields, const QString& path)
{
    IniBatch batch(path);
    WriteHardwareSettings(axis, fields, batch);
    return batch.Commit();
}

void ReadHardwareSettings(int axis, const QString& path, HardwareFields& fields)
{
    if (!QFileInfo::exists(path))
        return;
    const IniFile file(path);
    for (const HardwareKey& key : kKeys) {
        const QString name = QLatin1String(key.name);
        const QString value = file.Value(SectionOf(key, axis), name);
        if (key.kind == K::Text) {
            fields.texts[name] = value;
            continue;
        }
        if (const auto index = LoadedIndex(key, value, Selected(fields, name)))
            fields.selected[name] = *index;
    }
}
