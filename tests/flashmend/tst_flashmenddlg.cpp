#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <mutex>

#include "common/translations.h"
#include "flashmend/dialogunits.h"
#include "flashmend/flashmenddlg.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/controls.h"
#include "support/standin.h"

using namespace std::chrono_literals;

class TestFlashmendDlg : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(InstallQtChineseTexts()); }
    void init() { FreshCards(1); }

    void browseIsChineseAndAllFilesListsFilesWithoutExtension()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("a.s6x"), "s6x"));
        QVERIFY(WriteBytes(dir.filePath("firmware"), "no extension"));
        CFlashmendDlg dialog;
        QStringList listed;
        QString acceptCaption;
        QString typeCaption;
        // Runs inside the file dialog's own loop, once it shows; a failed
        // check still closes it, so the test cannot hang.
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            QFileDialog* files = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
                    files = d;
            if (!files)
                return;
            poll.stop();
            QAbstractButton* open = files->findChild<QDialogButtonBox*>()->buttons().value(0);
            acceptCaption = open->text();
            files->setDirectory(dir.path());
            auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types->setCurrentIndex(1);
            emit types->activated(1);
            emit types->textActivated(types->itemText(1));
            typeCaption = types->itemText(1);
            auto* view = files->findChild<QListView*>(QStringLiteral("listView"));
            QElapsedTimer waited;
            waited.start();
            while (view->model()->rowCount(view->rootIndex()) < 2 && waited.elapsed() < 5000)
                QTest::qWait(20);
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
            // A click on the file in the list.
            const QModelIndex firmware = view->model()->index(int(listed.indexOf("firmware")), 0, view->rootIndex());
            view->selectionModel()->select(firmware, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            open->click();
            if (files->isVisible())
                files->reject();
        });
        poll.start();
        dialog.OnBrowse();
        QCOMPARE(acceptCaption.left(2), QStringLiteral("打开"));
        QCOMPARE(typeCaption, QStringLiteral("所有文件(*.*)"));
        QCOMPARE(listed, (QStringList{"a.s6x", "firmware"}));
        QCOMPARE(Find<QLineEdit>(&dialog, "IDC_1004")->text(), dir.filePath("firmware"));
    }

    void progressPositions()
    {
        QCOMPARE(ProgressPosition(0.999f), 99);
        QCOMPARE(ProgressPosition(1.0f), 100);
        QCOMPARE(ProgressPosition(0.0f), 0);
        QCOMPARE(ProgressPosition(0.5f), 50);
    }

    void dialogUnitsFollowTheFont()
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        const QFontMetrics metrics(font);
        const int baseX =
            (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 +
             1) /
            2;
        QCOMPARE(DialogUnits(font, 4, 8, 400, 16), QRect(baseX, metrics.height(), baseX * 100, metrics.height() * 2));
    }

    void labelsLineUpAndCaptionsKeepTheirMargin()
    {
        CFlashmendDlg dialog;
        const std::pair<const char*, const char*> rows[] = {{"文件路径", "IDC_1004"},
                                                            {"当前硬件版本", "IDC_1007"},
                                                            {"当前固件版本", "IDC_1008"},
                                                            {"当前库版本", "IDC_1009"},
                                                            {"发布版本", "IDC_1010"}};
        for (const auto& [caption, box] : rows) {
            QLabel* label = nullptr;
            for (QLabel* l : dialog.findChildren<QLabel*>())
                if (l->text() == QString::fromUtf8(caption))
                    label = l;
            QVERIFY2(label, caption);
            const QRect boxRect = Find<QLineEdit>(&dialog, box)->geometry();
            QCOMPARE(label->geometry().center().y(), boxRect.center().y());
            QVERIFY(label->alignment() & Qt::AlignVCenter);
            QVERIFY(label->geometry().right() < boxRect.left());
        }
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            const int text = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(button->width() - text >= 12, qPrintable(button->text()));
        }
    }

    void opensWithoutACard()
    {
        FreshCards(0);
        MessageCatcher messages;
        {
            CFlashmendDlg dialog;
            dialog.OnInitDialog();
            QCOMPARE(messages.texts, QStringList{"初始化控制卡失败！"});
            QVERIFY(dialog.findChild<QTimer*>("Timer1")->isActive());
            // The versions show what the library gave: nothing, with no card.
            QCOMPARE(Find<QLineEdit>(&dialog, "IDC_1007")->text(), QStringLiteral("0"));
            QCOMPARE(Find<QLineEdit>(&dialog, "IDC_1010")->text(), QString());
        }
        QCOMPARE(RecordedCalls("tvn_board_close").size(), 1);
    }

    void versionsAreReadInOrder()
    {
        CFlashmendDlg dialog;
        dialog.OnInitDialog();
        QCOMPARE(RecordedCalls().mid(1, 4).join('|').count("tvn_get_"), 4);
        QVERIFY(RecordedCalls()[1].startsWith("tvn_get_card_version(0, &"));
        QVERIFY(RecordedCalls()[2].startsWith("tvn_get_card_soft_version(0, &"));
        QVERIFY(RecordedCalls()[3].startsWith("tvn_get_lib_version(&"));
        QVERIFY(RecordedCalls()[4].startsWith("tvn_get_release_version(0, &\""));
        QVERIFY(!Find<QLineEdit>(&dialog, "IDC_1010")->text().isEmpty());
    }

    void theButtonStaysDisabledFromClickToFinish()
    {
        std::mutex mutex;
        std::condition_variable released;
        bool go = false;
        CFlashmendDlg dialog(
            nullptr,
            [&](int16_t, const QString&) {
                std::unique_lock lock(mutex);
                released.wait(lock, [&] { return go; });
                return int16_t(2101 - 2101); // success
            },
            0ms);
        dialog.OnInitDialog();
        dialog.findChild<QTimer*>("Timer1")->stop();
        dialog.SetFirmwarePath(QStringLiteral("/tmp/a%s.s6x"));
        auto* button = Find<QPushButton>(&dialog, "IDC_1001");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isEnabled());
        for (int i = 0; i < 5; ++i) {
            dialog.OnTimer();
            QVERIFY(!button->isEnabled());
        }
        tolvane::control::ClearCalls();
        {
            std::lock_guard lock(mutex);
            go = true;
        }
        released.notify_all();
        QTRY_COMPARE(dialog.State().Downloading.load(), 0);
        dialog.OnTimer();
        QVERIFY(button->isEnabled());
        QCOMPARE(Find<QProgressBar>(&dialog, "IDC_1000")->value(), 0);
        QCOMPARE(Find<QPlainTextEdit>(&dialog, "IDC_1003")->toPlainText(),
                 QStringLiteral("固件升级成功！请重启软件后查看！\n"));
        QCOMPARE(RecordedCalls("tvn_get_card_version").size(), 1); // versions read again, once
        dialog.OnTimer();
        QCOMPARE(RecordedCalls("tvn_get_card_version").size(), 1);
    }

    void aCardNumberOutOfRangeIsReportedOnce()
    {
        MessageCatcher messages;
        CFlashmendDlg dialog;
        dialog.OnInitDialog();
        Find<QLineEdit>(&dialog, "IDC_1006")->setText(QStringLiteral("101"));
        for (int i = 0; i < 10; ++i)
            dialog.OnTimer();
        QCOMPARE(messages.texts.size(), 1);
        QCOMPARE(messages.titles, QStringList{"Flashmend"});
        tolvane::control::ClearCalls();
        dialog.OnReadVersions(); // a command says so every time, and reads nothing
        QCOMPARE(messages.texts.size(), 2);
        QVERIFY(RecordedCalls().isEmpty());
        Find<QLineEdit>(&dialog, "IDC_1006")->setText(QStringLiteral("100"));
        dialog.OnReadVersions();
        QVERIFY(RecordedCalls()[0].startsWith("tvn_get_card_version(100, "));
    }

    void aSimulatedFaultReachesTheStatusAndAStallEndsWithTheDialog()
    {
        QTemporaryDir dir;
        const QString firmware = dir.filePath("board.s6x");
        QVERIFY(WriteBytes(firmware, "S0"));
        {
            CFlashmendDlg dialog(nullptr, LibraryDownload(), 0ms);
            dialog.OnInitDialog();
            dialog.SetFirmwarePath(firmware);
            dialog.SimulateDownloadFault(5, -1);
            dialog.OnDownload();
            QTRY_VERIFY_WITH_TIMEOUT(Find<QPlainTextEdit>(&dialog, "IDC_1003")->toPlainText().contains("=5;"), 10000);
            QVERIFY(Find<QPlainTextEdit>(&dialog, "IDC_1003")
                        ->toPlainText()
                        .contains(QStringLiteral("固件升级失败，请再次尝试升级操作！")));

            // Stalled at 30 %: closing lets it go and the dialog closes.
            QTRY_COMPARE(dialog.State().Downloading.load(), 0);
            dialog.show();
            dialog.SimulateDownloadFault(0, 30);
            dialog.OnDownload();
            QTRY_VERIFY_WITH_TIMEOUT(Find<QProgressBar>(&dialog, "IDC_1000")->value() == 30, 10000);
            // How the released download ended is not flashed on the way out.
            QStringList shown;
            auto* status = Find<QPlainTextEdit>(&dialog, "IDC_1003");
            connect(status, &QPlainTextEdit::textChanged, this, [&] { shown << status->toPlainText(); });
            dialog.reject();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
            QVERIFY2(!shown.join(QString()).contains("=9;"), qPrintable(shown.join(QLatin1Char('|'))));
        }
        QCOMPARE(RecordedCalls("tvn_download_firmware").last(),
                 QStringLiteral("tvn_download_firmware(0, \"%1\") = 9").arg(firmware));
    }

    void cancellingTheFaultEndsAStallAndKeepsItsText()
    {
        QTemporaryDir dir;
        const QString firmware = dir.filePath("board.s6x");
        QVERIFY(WriteBytes(firmware, "S0"));
        CFlashmendDlg dialog(nullptr, LibraryDownload(), 0ms);
        dialog.OnInitDialog();
        dialog.show();
        dialog.SetFirmwarePath(firmware);
        QCOMPARE(dialog.ArmedFault(), std::pair(0, -1));
        dialog.SimulateDownloadFault(0, 30);
        QCOMPARE(dialog.ArmedFault(), std::pair(0, 30)); // shown checked in the menu
        dialog.OnDownload();
        QCOMPARE(dialog.ArmedFault(), std::pair(0, -1)); // this download took it
        QTRY_VERIFY_WITH_TIMEOUT(Find<QProgressBar>(&dialog, "IDC_1000")->value() == 30, 10000);

        dialog.CancelDownloadFault();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.State().Downloading.load(), 0, 10000);
        auto* status = Find<QPlainTextEdit>(&dialog, "IDC_1003");
        QTRY_VERIFY_WITH_TIMEOUT(status->toPlainText().contains("=9;"), 10000);
        for (int i = 0; i < 5; ++i)
            dialog.OnTimer();
        QVERIFY(status->toPlainText().contains(QStringLiteral("固件升级失败")));
        QVERIFY(dialog.isVisible());
    }

    void closingWaitsForTheDownload()
    {
        std::mutex mutex;
        std::condition_variable released;
        bool go = false;
        auto dialog = std::make_unique<CFlashmendDlg>(
            nullptr,
            [&](int16_t, const QString&) {
                std::unique_lock lock(mutex);
                released.wait(lock, [&] { return go; });
                return int16_t(99);
            },
            0ms);
        dialog->OnInitDialog();
        dialog->findChild<QTimer*>("Timer1")->stop();
        dialog->show();
        dialog->OnDownload();
        QTRY_VERIFY(!dialog->State().StatusText().isEmpty());
        dialog->reject();
        QVERIFY(dialog->isVisible()); // still open, waiting
        // The waiting note stands on its own line under the worker's status.
        QVERIFY(Find<QPlainTextEdit>(dialog.get(), "IDC_1003")->toPlainText().contains(QStringLiteral("……\n正在等待")));
        QVERIFY(RecordedCalls("tvn_board_close").isEmpty());
        {
            std::lock_guard lock(mutex);
            go = true;
        }
        released.notify_all();
        QTRY_COMPARE(dialog->State().Downloading.load(), 0);
        dialog->OnTimer();
        QVERIFY(!dialog->isVisible());
        dialog.reset();
        QCOMPARE(RecordedCalls("tvn_board_close").size(), 1);
    }
};

QTEST_MAIN(TestFlashmendDlg)
#include "tst_flashmenddlg.moc"
