// The firmware updater's dialog: versions of the card, a firmware file, and
// its download into the card with progress and outcome.
#pragma once

#include <QDialog>

#include <utility>

#include "downloadworker.h"

class QMenu;

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The progress bar's position for a fraction done: truncated toward zero.
int ProgressPosition(float fraction);

// A caption wider than its button (读取版本信息 at the dialog font) gets a
// smaller font, so that it keeps the margin the other buttons have.
void KeepCaptionMargin(QPushButton* button);

class CFlashmendDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFlashmendDlg(QWidget* parent = nullptr, DownloadFunction download = LibraryDownload(),
                           std::chrono::milliseconds settle = std::chrono::milliseconds(1000));
    ~CFlashmendDlg() override;

    // Dialog start: card library, timer, progress range, versions of card 0.
    void OnInitDialog();

    void OnBrowse();
    void OnDownload();
    void OnTimer();
    void OnReadVersions();
    void OnAbout();

    // With the simulated card library: the next download of the card fails
    // with `code` (not 0), after stalling at `stallPercent` (or −1).
    void SimulateDownloadFault(int code, int stallPercent);
    // Disarms the fault, and ends a download held stalled: it fails with its
    // code, and its text stays.
    void CancelDownloadFault();
    // The fault armed for the next download: {code, stall percent}, {0, −1}
    // when none.
    std::pair<int, int> ArmedFault() const { return armedFault_; }

    // Sets the firmware path as the browse command does (for tests).
    void SetFirmwarePath(const QString& path);
    DownloadState& State() { return state_; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The entries of the dialog's context menu, also under the status box's.
    void AddDialogEntries(QMenu& menu);
    void ShowStatusMenu(const QPoint& at);
    void done(int result) override;

private:
    // Reads the card number field; false, after a message, when it is not a
    // number from 0 to 100. `quiet` reports the same wrong text only once.
    bool ReadFields(bool quiet);
    void ReadAndShowVersions();

    QLineEdit* path_;           // 1004
    QPushButton* browse_;       // 1002
    QLineEdit* cardNo_;         // 1006
    QPushButton* download_;     // 1001
    QProgressBar* progress_;    // 1000
    QLineEdit* hardware_;       // 1007
    QPushButton* readVersions_; // 1011
    QLineEdit* firmware_;       // 1008
    QPushButton* exit_;         // 1 (IDOK)
    QLineEdit* library_;        // 1009
    QLineEdit* release_;        // 1010
    QPlainTextEdit* status_;    // 1003
    QTimer* timer1_;

    int card_ = 0; // the card number field, as last read
    std::pair<int, int> armedFault_{0, -1};
    int armedCard_ = 0;
    QString reportedText_;
    DownloadState state_;
    DownloadWorker worker_;
};
