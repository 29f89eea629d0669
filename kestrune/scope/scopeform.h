// 示波器: command position, encoder position, following error and speed of
// both axes of the card in use against time, an XY view, two cursors, a
// capture that starts with the move, and CSV and PNG export.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "redrawpacer.h"
#include "scopedata.h"
#include "sharemeter.h"
#include "trigger.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class ScopePlot;
class XyView;

class ScopeForm : public QWidget {
    Q_OBJECT

public:
    explicit ScopeForm(QWidget* parent = nullptr);

    // One sample, read now (the sampling timer's tick).
    void SampleTick();
    // Brings the views up to date (from a timer, at most 30 times a second,
    // and only once the picture has moved by two pixels).
    void Redraw();

    void SetPeriod(int milliseconds);
    void SetWindowSeconds(double seconds);
    void Pause(bool paused);
    void ArmCapture(bool armed);
    // Waits for the trigger set in the window's trigger row, or stops waiting.
    void ArmTrigger(bool armed);
    void ShowLive();
    // Shows `samples` in place of the live data (a capture or a file). The
    // call log's commands are marked when `origin` gives the time base's
    // second at the samples' time 0 (none for a file).
    void ShowSamples(std::vector<Sample> samples, const QString& what, std::optional<double> origin = std::nullopt);
    // Pauses on the moment `seconds` (the program's time base), in the middle
    // of the window, cursor A on it.
    void ShowMoment(double seconds);

    void OpenCsv();
    void ExportCsv();
    void ExportPng();
    // The same without the file dialogs: 0 or an errno; an empty text or the
    // reason the file was refused.
    int SaveCsvTo(const QString& path) const;
    int SavePngTo(const QString& path);
    QString OpenCsvFrom(const QString& path);

    const SampleSource& Shown() const;
    const SampleBuffer& Buffer() const { return buffer_; }
    const MotionCapture& Capture() const { return capture_; }
    const Trigger& LevelTrigger() const { return levelTrigger_; }
    ScopePlot* Plot() const { return plot_; }
    bool Live() const { return !shownSamples_; }

protected:
    // Sampling and drawing end with the window: the card library may be closed
    // right after it, before the window is deleted.
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowCursors();
    void ShowTriggered();
    void UpdateMarks();
    // What the view shows, for an exported file: the card, the settings, the
    // trigger, the date.
    QStringList Notes() const;
    void ShowStatus();

    SampleBuffer buffer_;
    MotionCapture capture_;
    Trigger levelTrigger_;
    std::unique_ptr<SampleList> shownSamples_; // a capture or a file, when shown
    QString shownWhat_;
    std::optional<double> markOrigin_ = 0.0; // the time base's second at time 0 shown
    QElapsedTimer clock_;
    double window_ = 10;
    RedrawPacer pacer_;
    ShareMeter share_; // of sampling and drawing, over the last few seconds

    QComboBox* period_;
    QComboBox* windowLength_;
    QPushButton* pause_;
    QPushButton* trigger_;
    QDoubleSpinBox* hold_;
    QPushButton* live_;
    QComboBox* triggerSource_;
    QDoubleSpinBox* triggerLevel_;
    QComboBox* triggerEdge_;
    QSpinBox* triggerPosition_;
    QComboBox* triggerMode_;
    QPushButton* arm_;
    QComboBox* errorScale_;
    std::array<QCheckBox*, kChannels> channels_{};
    QTabWidget* tabs_;
    ScopePlot* plot_;
    XyView* xy_;
    QLabel* readout_;
    QLabel* status_;
    QTimer* sampleTimer_;
    QTimer* redrawTimer_;
};
