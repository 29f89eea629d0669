// Cost of the settings files as the windows use them, offscreen, against the
// simulated card: the parameter window's 保存 of both axes (written, synced,
// then applied to the card), into a small file and into a 10 MB
// hardware_set.txt whose real sections follow junk lines, and loading that
// file in the parameter window and in the apply step that the motion and I/O
// windows run when they open.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/medians.h"
#include "para/paraform.h"
#include "settings/apply.h"
#include "settings/hardwaresettings.h"
#include "settings/state.h"
#include "tolvane/control.h"

namespace {

QTemporaryDir* folder = nullptr;

// A settings file of about 10 MB: junk before the two axes and UTILITY.
void WriteLargeFile()
{
    QByteArray bytes;
    bytes.reserve(11 << 20);
    for (int i = 0; bytes.size() < (10 << 20); ++i) {
        if (i % 1000 == 0)
            bytes += "[junk section " + QByteArray::number(i) + "]\r\n";
        bytes += "JUNKKEY" + QByteArray::number(i) + "=some text that fills the file up\r\n";
    }
    QFile::remove(HardwareSetPath);
    HardwareFields fields;
    for (const HardwareKey& key : HardwareKeys())
        if (key.kind != HardwareKeyKind::Text)
            fields.selected[QLatin1String(key.name)] = 1;
    WriteHardwareSettings(0, fields, HardwareSetPath);
    WriteHardwareSettings(1, fields, HardwareSetPath);
    QFile file(HardwareSetPath);
    file.open(QIODevice::ReadOnly);
    bytes += file.readAll();
    file.close();
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

void SaveBothAxesAndApply(benchmark::State& state)
{
    tolvane::control::Reset(1);
    QFile::remove(HardwareSetPath);
    ParaForm form;
    form.Form_Load();
    for (int axis = 0; axis < 2; ++axis)
        form.findChild<QCheckBox*>(QStringLiteral("ChB_SaveHParaAxis(%1)").arg(axis))->setChecked(true);
    for (auto _ : state)
        form.CB_SaveHardPara_Click();
}

void SaveLargeFileAndApply(benchmark::State& state)
{
    tolvane::control::Reset(1);
    WriteLargeFile();
    ParaForm form;
    form.Form_Load();
    for (int axis = 0; axis < 2; ++axis)
        form.findChild<QCheckBox*>(QStringLiteral("ChB_SaveHParaAxis(%1)").arg(axis))->setChecked(true);
    for (auto _ : state)
        form.CB_SaveHardPara_Click();
    QFile::remove(HardwareSetPath);
}

void LoadLargeFileInParameterWindow(benchmark::State& state)
{
    WriteLargeFile();
    ParaForm form;
    form.Form_Load();
    for (auto _ : state)
        form.CB_LoadHardPara_Click(); // 第0轴 of the load group is selected at load
    QFile::remove(HardwareSetPath);
}

void ApplyLargeFile(benchmark::State& state)
{
    tolvane::control::Reset(1);
    WriteLargeFile();
    for (auto _ : state)
        ApplyHardwareSettings(0);
    QFile::remove(HardwareSetPath);
}

// Prints each benchmark's median against its budget after the usual table.
class BudgetReporter : public MedianReporter {
public:
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        static const std::map<std::string, double> budgets = {{"SaveBothAxesAndApply", 0.020},
                                                              {"SaveLargeFileAndApply", 0.200},
                                                              {"LoadLargeFileInParameterWindow", 0.200},
                                                              {"ApplyLargeFile", 0.200}};
        for (const auto& [name, seconds] : Medians())
            std::printf("%s: median %.2f ms, budget %.0f ms\n", name.c_str(), seconds * 1e3, budgets.at(name) * 1e3);
    }
};

} // namespace

BENCHMARK(SaveBothAxesAndApply)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveLargeFileAndApply)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadLargeFileInParameterWindow)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyLargeFile)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    folder = &dir;
    SetSettingsPaths(dir.path());
    benchmark::Initialize(&argc, argv);
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
