#include "hardwaresettings.h"

#include <QFileInfo>

#include <array>
#include <cmath>

#include "apply.h"
#include "conversions.h"
#include "ini.h"

namespace {

using K = HardwareKeyKind;

constexpr std::array<HardwareKey, 33> kKeys = {{
    {"PULSEOUTMODE", K::Indexed, false},   {"HOMEMODE", K::TwoChoice, false},   {"HOMELOGIC", K::TwoChoice, false},
    {"HOMESPEEDMODE", K::TwoChoice, false}, {"EZENABLE", K::TwoChoice, false},   {"EZLOGIC", K::TwoChoice, false},
    {"LTCLOGIC", K::TwoChoice, false},     {"LOGICHOME", K::Text, false},        {"PULSEINMODE", K::PulseIn, false},
    {"SDENABLE", K::TwoChoice, false},     {"SDLOGIC", K::TwoChoice, false},     {"SDMODE", K::Indexed, false},
    {"ALMSTOPMODE", K::TwoChoice, false},  {"ALMLOGIC", K::TwoChoice, false},    {"PCSENABLE", K::TwoChoice, false},
    {"PCSLOGIC", K::TwoChoice, false},     {"INPENABLE", K::TwoChoice, false},   {"INPLOGIC", K::TwoChoice, false},
    {"ERCENABLE", K::TwoChoice, false},    {"ERCLOGIC", K::TwoChoice, false},    {"HPLSTOP", K::TwoChoice, false},
    {"HPLLOGIC", K::TwoChoice, false},     {"SPLENABLE", K::TwoChoice, false},   {"SPLCOUNTER", K::TwoChoice, false},
    {"SPLPOS", K::Text, false},            {"SNLCOUNTER", K::TwoChoice, false},  {"SNLPOS", K::Text, false},
    {"EXDRIVEMODE", K::ExDrive, false},    {"HWHEELLENGTH", K::Text, false},     {"EXDRIVEVEL", K::Text, false},
    {"LATCHALLAXIS", K::LatchAll, true},   {"EMGENABLE", K::TwoChoice, true},    {"EMGLOGIC", K::TwoChoice, true},
}};

// Buttons of the two indexed groups: eight pulse types, four SD actions.
int ButtonCount(const QString& key) { return key == QLatin1String("PULSEOUTMODE") ? 8 : 4; }

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
        if (key.name == QLatin1String("SDMODE") && number >= 4)
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

QString SectionOf(const HardwareKey& key, int axis)
{
    return key.utility ? QStringLiteral("UTILITY") : AxisSection(axis);
}

}  // namespace

std::span<const HardwareKey> HardwareKeys()
{
    return kKeys;
}

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
