// The firmware download, run on a thread of its own while the dialog polls
// its progress. The dialog and the worker share DownloadState: flags as
// atomic words, the status text under a lock; a close that waits for the
// download is the dialog's alone.
#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct DownloadState {
    // Written by the window thread before a worker starts, read by it.
    QString FirmwarePath;
    uint16_t DownloadCardNo = 0;

    std::atomic<int> Downloading{0};
    std::atomic<int> DownloadDone{0};

    void SetStatusText(const QString& text);
    QString StatusText() const;

    // The window thread's own: a close asked for during a download waits
    // for its end, with the result it was asked with (the last one).
    void RequestClose(int result);
    bool CloseRequested() const { return closeRequested_; }
    // The result to close with now that the download is over; none while it
    // runs or when no close was asked for.
    std::optional<int> DueClose() const;
    // The status text as the dialog shows it: with the note that a close
    // waits for the download on a line of its own, lines ending in '\n'.
    QString ShownText() const;

private:
    bool closeRequested_ = false;
    int closeResult_ = 0;

    // The text is handed over whole: the worker publishes a new one, the
    // dialog takes a reference to the current one, both under the lock.
    mutable std::mutex mutex_;
    std::shared_ptr<const QString> statusText_ = std::make_shared<const QString>();
};

// The card library's download call, or a stand-in for it in tests.
using DownloadFunction = std::function<int16_t(int16_t card, const QString& path)>;
DownloadFunction LibraryDownload();

// The failure text for result `r`: the pattern that tells the user to restart
// for results 100 to 199, the one that asks to try again otherwise. The path
// appears exactly as it is, whatever characters it holds.
QString FailureText(int card, const QString& path, int r);

class DownloadWorker {
public:
    explicit DownloadWorker(DownloadState& state, DownloadFunction download = LibraryDownload(),
                            std::chrono::milliseconds settle = std::chrono::milliseconds(1000));
    ~DownloadWorker();
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;

    // Starts a download on a new thread and returns at once. The caller has
    // set Downloading to 1 already, so the download button stays disabled
    // from the click until the worker is done.
    void Start();
    // Waits for a running download to end.
    void Wait();

private:
    void Run();

    DownloadState& state_;
    DownloadFunction download_;
    std::chrono::milliseconds settle_;
    std::thread thread_;
};
