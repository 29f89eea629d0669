#include "flashmenddlg.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimer>

#include <climits>
#include <cmath>
#include <memory>

#include "aboutdlg.h"
#include "cardlib/machine.h"
#include "cardlib/tolvane.h"
#include "common/message.h"
#include "dialogunits.h"

namespace {

constexpr int kTimerInterval = 100; // ms
constexpr int kLastCardNumber = 100;
constexpr int kCaptionMargin = 6; // px between a button's caption and its edges

QLineEdit* DigitsOnly(QLineEdit* edit)
{
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

} // namespace

void KeepCaptionMargin(QPushButton* button)
{
    QFont font = button->font();
    const auto fits = [&] {
        return QFontMetrics(font).horizontalAdvance(button->text()) + 2 * kCaptionMargin <= button->width();
    };
    while (!fits() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        button->setFont(font);
    }
}

int ProgressPosition(float fraction)
{
    const double position = std::trunc(static_cast<double>(fraction) * 100.0);
    return position < 0 ? 0 : (position > 100 ? 100 : static_cast<int>(position));
}

CFlashmendDlg::CFlashmendDlg(QWidget* parent, DownloadFunction download, std::chrono::milliseconds settle)
    : QDialog(parent), worker_(state_, std::move(download), settle)
{
    setObjectName(QStringLiteral("CFlashmendDlg"));
    setWindowTitle(QStringLiteral("Rizedidove"));
    setWindowIcon(FlashmendIcon());
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    const QFont font = DialogFont();
    setFont(font);
    resize(DialogUnits(font, 0, 0, 406, 214).size());

    const auto place = [&](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(DialogUnits(font, x, y, width, height));
    };
    // Labels get the room up to their text box (the CJK glyphs here are a
    // little wider than the dialog font's units allow for) and stand on the
    // row of the box they name, so that their text lines up with the box's.
    const auto label = [&](const char* text, int x, QWidget* box) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        const QRect row = box->geometry();
        const int left = DialogUnits(font, x, 0, 0, 0).left();
        l->setGeometry(left, row.top(), row.left() - left - 2, row.height());
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    const auto button = [&](const char* name, const char* caption, int x, int y) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setAutoDefault(false);
        place(b, name, x, y, 50, 14);
        KeepCaptionMargin(b);
        return b;
    };
    const auto text = [&](const char* name, int x, int y, int width) {
        auto* edit = new QLineEdit(this);
        place(edit, name, x, y, width, 14);
        return edit;
    };

    path_ = text("IDC_1004", 54, 20, 273);
    label("文件路径", 19, path_);
    path_->setReadOnly(true);
    browse_ = button("IDC_1002", "浏览", 339, 20);
    cardNo_ = DigitsOnly(text("IDC_1006", 18, 47, 32));
    cardNo_->setText(QStringLiteral("0"));
    download_ = button("IDC_1001", "固件升级", 59, 48);
    progress_ = new QProgressBar(this);
    place(progress_, "IDC_1000", 119, 48, 238, 14);
    progress_->setTextVisible(false);
    hardware_ = DigitsOnly(text("IDC_1007", 67, 72, 240));
    label("当前硬件版本", 18, hardware_);
    readVersions_ = button("IDC_1011", "读取版本信息", 335, 70);
    firmware_ = DigitsOnly(text("IDC_1008", 67, 88, 240));
    label("当前固件版本", 19, firmware_);
    exit_ = button("IDOK", "退出", 337, 98);
    exit_->setDefault(true);
    library_ = DigitsOnly(text("IDC_1009", 67, 104, 240));
    label("当前库版本", 20, library_);
    release_ = DigitsOnly(text("IDC_1010", 67, 120, 240));
    label("发布版本", 20, release_);
    status_ = new QPlainTextEdit(this);
    place(status_, "IDC_1003", 17, 143, 310, 59);
    status_->setReadOnly(true);
    status_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(status_, &QPlainTextEdit::customContextMenuRequested, this, &CFlashmendDlg::ShowStatusMenu);
    for (QLineEdit* version : {hardware_, firmware_, library_})
        version->setText(QStringLiteral("0"));

    connect(browse_, &QPushButton::clicked, this, &CFlashmendDlg::OnBrowse);
    connect(download_, &QPushButton::clicked, this, &CFlashmendDlg::OnDownload);
    connect(readVersions_, &QPushButton::clicked, this, &CFlashmendDlg::OnReadVersions);
    connect(exit_, &QPushButton::clicked, this, &QDialog::accept);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kTimerInterval);
    connect(timer1_, &QTimer::timeout, this, &CFlashmendDlg::OnTimer);
}

CFlashmendDlg::~CFlashmendDlg()
{
    timer1_->stop();
    // Never close the library under a running download.
    worker_.Wait();
    tvn_board_close();
}

void CFlashmendDlg::OnInitDialog()
{
    if (tvn_board_init() == 0)
        ShowMessage(QStringLiteral("出错"), QStringLiteral("初始化控制卡失败！"), this);
    timer1_->start();
    progress_->setRange(0, 100);
    ReadAndShowVersions();
}

bool CFlashmendDlg::ReadFields(bool quiet)
{
    const QString text = cardNo_->text().trimmed();
    bool ok = false;
    const int card = text.toInt(&ok);
    if (ok && card >= 0 && card <= kLastCardNumber) {
        card_ = card;
        reportedText_.clear();
        return true;
    }
    // The timer reads the fields ten times a second: a wrong number is
    // reported once, until it changes.
    if (quiet && text == reportedText_)
        return false;
    reportedText_ = text;
    ShowMessage(QStringLiteral("Flashmend"), QStringLiteral("请输入 0 到 100 之间的整数。"), this);
    return false;
}

void CFlashmendDlg::ReadAndShowVersions()
{
    const auto card = static_cast<int16_t>(card_);
    uint32_t hardware = 0, first = 0, firmware = 0;
    int32_t library = 0, second = 0;
    char release[1024] = {};
    tvn_get_card_version(card, &hardware);
    tvn_get_card_soft_version(card, &first, &firmware);
    tvn_get_lib_version(&library, &second);
    tvn_get_release_version(card, release);
    release[sizeof release - 1] = '\0';
    hardware_->setText(QString::number(hardware));
    firmware_->setText(QString::number(firmware));
    library_->setText(QString::number(library));
    release_->setText(QString::fromLocal8Bit(release));
}

void CFlashmendDlg::OnBrowse()
{
    // Qt's own dialog, so that its texts are the Chinese ones the program
    // loads and the filter below behaves the same on every desktop.
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString allFiles = QStringLiteral("所有文件(*.*)");
    dialog.setNameFilters({QStringLiteral("配置文件(*.s6x)"), allFiles});
    // On Linux "*.*" would hide the files without an extension: the filter
    // keeps the caption users know and lists every file.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, allFiles](const QString& filter) {
        if (auto* files = dialog.findChild<QFileSystemModel*>(); files && filter == allFiles)
            files->setNameFilters({QStringLiteral("*")});
    });
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SetFirmwarePath(dialog.selectedFiles().constFirst());
}

void CFlashmendDlg::SetFirmwarePath(const QString& path)
{
    state_.FirmwarePath = path;
    path_->setText(path);
}

void CFlashmendDlg::OnDownload()
{
    if (!ReadFields(false) || state_.Downloading)
        return;
    download_->setEnabled(false);
    state_.DownloadCardNo = static_cast<uint16_t>(card_);
    // Set before the thread starts, so no tick can enable the button between
    // the click and the worker's own start.
    state_.Downloading = 1;
    if (card_ == armedCard_)
        armedFault_ = {0, -1}; // this download takes it
    worker_.Start();
}

void CFlashmendDlg::OnTimer()
{
    ReadFields(true);
    if (state_.Downloading == 0 && !state_.CloseRequested())
        download_->setEnabled(true);
    if (state_.DownloadDone == 1) {
        ReadFields(true);
        ReadAndShowVersions();
        state_.DownloadDone = 0;
    }
    if (state_.Downloading == 1) {
        float fraction = 0;
        tvn_get_progress(static_cast<int16_t>(card_), &fraction);
        progress_->setValue(ProgressPosition(fraction));
    } else {
        progress_->setValue(0);
    }
    // Leaving after the download: how it ended would only flash by.
    if (const std::optional<int> result = state_.DueClose()) {
        worker_.Wait();
        QDialog::done(*result);
        return;
    }
    if (const QString status = state_.ShownText(); status_->toPlainText() != status)
        status_->setPlainText(status);
}

void CFlashmendDlg::OnReadVersions()
{
    if (ReadFields(false))
        ReadAndShowVersions();
}

void CFlashmendDlg::done(int result)
{
    // Closing while a download runs waits for it: the card library must not
    // close under the worker. The timer closes the dialog when it is over.
    if (state_.Downloading) {
        // A download that the simulated card holds stalled ends now.
        cardlib::SimulatedMachine::OfProgram().ReleaseDownload(static_cast<int16_t>(state_.DownloadCardNo));
        state_.RequestClose(result);
        for (QWidget* w : std::initializer_list<QWidget*>{browse_, download_, readVersions_, exit_})
            w->setEnabled(false);
        OnTimer();
        return;
    }
    QDialog::done(result);
}

void CFlashmendDlg::SimulateDownloadFault(int code, int stallPercent)
{
    if (cardlib::SimulatedMachine::OfProgram().SetDownloadFault(static_cast<int16_t>(card_), code, stallPercent) != 0)
        return;
    armedFault_ = code == 0 && stallPercent < 0 ? std::pair{0, -1} : std::pair{code, stallPercent};
    armedCard_ = card_;
}

void CFlashmendDlg::CancelDownloadFault()
{
    SimulateDownloadFault(0, -1);
    if (state_.Downloading)
        cardlib::SimulatedMachine::OfProgram().ReleaseDownload(static_cast<int16_t>(state_.DownloadCardNo));
}

void CFlashmendDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    AddDialogEntries(menu);
    menu.exec(event->globalPos());
}

void CFlashmendDlg::ShowStatusMenu(const QPoint& at)
{
    // The status box's own entries (复制, 全选) first, then the dialog's.
    std::unique_ptr<QMenu> menu(status_->createStandardContextMenu(at));
    menu->addSeparator();
    AddDialogEntries(*menu);
    menu->exec(status_->viewport()->mapToGlobal(at));
}

void CFlashmendDlg::AddDialogEntries(QMenu& menu)
{
    // Linux window managers offer no system menu to extend: the about entry
    // lives in the dialog's own context menu.
    // With the simulated card library, downloads can be made to fail, so
    // that every branch of the dialog can be shown.
    if (cardlib::SimulatedMachine::OfProgram().Available()) {
        QMenu* fault = menu.addMenu(QStringLiteral("模拟下载故障"));
        fault->setObjectName(QStringLiteral("downloadFault"));
        const auto [armedCode, armedStall] = armedFault_;
        QAction* failing = fault->addAction(
            armedCode != 0 && armedStall < 0 ? QStringLiteral("下次下载返回错误码 %1（已设）…").arg(armedCode)
                                             : QStringLiteral("下次下载返回错误码…"),
            this, [this] {
            bool ok = false;
            const int code = QInputDialog::getInt(this, QStringLiteral("模拟下载故障"),
                                                  QStringLiteral("下次下载返回的错误码（2101：对话框再试一次）："), 5,
                                                  INT16_MIN, INT16_MAX, 1, &ok);
                if (ok && code != 0)
                    SimulateDownloadFault(code, -1);
            });
        failing->setCheckable(true);
        failing->setChecked(armedCode != 0 && armedStall < 0);
        QAction* stalling = fault->addAction(
            armedStall >= 0 ? QStringLiteral("下次下载停在 %1%（已设）…").arg(armedStall)
                            : QStringLiteral("下次下载停在某一进度…"),
            this, [this] {
            bool ok = false;
            const int percent =
                QInputDialog::getInt(this, QStringLiteral("模拟下载故障"),
                                     QStringLiteral("下次下载停在的进度（%），直到对话框关闭："), 50, 0, 99, 1, &ok);
                if (ok)
                    SimulateDownloadFault(0, percent);
            });
        stalling->setCheckable(true);
        stalling->setChecked(armedStall >= 0);
        QAction* cancel = fault->addAction(state_.Downloading ? QStringLiteral("取消模拟故障（结束停住的下载）")
                                                              : QStringLiteral("取消模拟故障"),
                                           this, &CFlashmendDlg::CancelDownloadFault);
        cancel->setEnabled(armedCode != 0 || armedStall >= 0 || state_.Downloading);
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("关于 Flashmend(&A)..."), this, &CFlashmendDlg::OnAbout);
}

void CFlashmendDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}
