#include "downloadworker.h"

#include <QFile>

#include "cardlib/tolvane.h"
#include "common/usertext.h"

namespace {

constexpr int16_t kRetry = 2101; // the card asks for a second pass

} // namespace

void DownloadState::SetStatusText(const QString& text)
{
    auto next = std::make_shared<const QString>(text);
    std::lock_guard lock(mutex_);
    statusText_ = std::move(next);
}

QString DownloadState::StatusText() const
{
    std::shared_ptr<const QString> current;
    {
        std::lock_guard lock(mutex_);
        current = statusText_;
    }
    return *current;
}

void DownloadState::RequestClose(int result)
{
    closeRequested_ = true;
    closeResult_ = result;
}

std::optional<int> DownloadState::DueClose() const
{
    if (!closeRequested_ || Downloading != 0)
        return std::nullopt;
    return closeResult_;
}

QString DownloadState::ShownText() const
{
    QString status = StatusText();
    if (closeRequested_) {
        if (!status.isEmpty() && !status.endsWith(QStringLiteral("\r\n")))
            status += QStringLiteral("\r\n");
        status += QStringLiteral("正在等待固件升级结束，结束后程序将退出……\r\n");
    }
    status.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return status;
}

DownloadFunction LibraryDownload()
{
    return [](int16_t card, const QString& path) {
        return tvn_download_firmware(card, QFile::encodeName(path).constData());
    };
}

QString FailureText(int card, const QString& path, int r)
{
    // Built by joining, never by formatting the path: a path may hold % signs.
    const QString call = QStringLiteral("tvn_download_firmware(") + QString::number(card) + QLatin1Char(',') +
                         QuoteUserText(path) + QStringLiteral(")=") + QString::number(r) + QStringLiteral(";\r\n");
    return call + (r / 100 == 1 ? QStringLiteral("固件升级失败，请关闭软件后重试，多次失败后请联系厂家！\r\n")
                                : QStringLiteral("固件升级失败，请再次尝试升级操作！\r\n"));
}

DownloadWorker::DownloadWorker(DownloadState& state, DownloadFunction download, std::chrono::milliseconds settle)
    : state_(state), download_(std::move(download)), settle_(settle)
{}

DownloadWorker::~DownloadWorker() { Wait(); }

void DownloadWorker::Start()
{
    Wait(); // the previous download has ended; its thread is joined here
    thread_ = std::thread(&DownloadWorker::Run, this);
}

void DownloadWorker::Wait()
{
    if (thread_.joinable())
        thread_.join();
}

void DownloadWorker::Run()
{
    const QString path = state_.FirmwarePath;
    const auto card = static_cast<int16_t>(state_.DownloadCardNo);
    state_.SetStatusText(QStringLiteral("固件升级中，请勿操作，……"));
    state_.Downloading = 1;
    int16_t r = download_(card, path);
    if (r == kRetry) {
        state_.SetStatusText(QStringLiteral("正在进行第二次升级！\r\n"));
        state_.Downloading = 1;
        r = download_(card, path);
    }
    if (r != 0) {
        state_.SetStatusText(FailureText(state_.DownloadCardNo, path, r));
    } else {
        std::this_thread::sleep_for(settle_);
        state_.SetStatusText(QStringLiteral("固件升级成功！请重启软件后查看！\r\n"));
    }
    state_.DownloadDone = 1;
    state_.Downloading = 0;
}
