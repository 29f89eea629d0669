// The windows' file dialogs: what they hand back for a typed name, a proposed
// one, an existing file or a missing one, and a cancel.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/files.h"
#include "widgets/filedialog.h"

namespace {

// Answers the file dialog that is about to show, from within its own loop:
// types `typed` (unless empty) as the file name, then accepts or cancels. A
// message that refuses the name is closed, and the dialog cancelled.
class Answer : public QObject {
public:
    Answer(QString typed, bool accept) : typed_(std::move(typed)), accept_(accept)
    {
        connect(&dialogPoll_, &QTimer::timeout, this, &Answer::AnswerDialog);
        connect(&messagePoll_, &QTimer::timeout, this, &Answer::CloseMessage);
        dialogPoll_.start(0);
    }

    QString title;
    bool qtDialog = false;

private:
    template <typename Window>
    static Window* Shown()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<Window*>(w); window && window->isVisible())
                return window;
        return nullptr;
    }

    void AnswerDialog()
    {
        auto* dialog = Shown<QFileDialog>();
        if (!dialog)
            return;
        dialogPoll_.stop();
        title = dialog->windowTitle();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        qtDialog = name != nullptr;
        if (name && !typed_.isEmpty())
            name->setText(typed_);
        if (accept_) {
            messagePoll_.start(0);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which reads the name
            messagePoll_.stop();
        }
        if (dialog->isVisible())
            dialog->reject();
    }

    void CloseMessage()
    {
        if (auto* message = Shown<QMessageBox>())
            message->reject();
    }

    QString typed_;
    bool accept_;
    QTimer dialogPoll_;
    QTimer messagePoll_;
};

} // namespace

class TestFileDialog : public QObject {
    Q_OBJECT

private slots:
    void handsBackTheChosenPath_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("start"); // in the folder, or the folder itself
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("chosen"); // in the folder; empty: nothing
        QTest::newRow("save: the extension is added") << true << ""
                                                      << "数据" << true << "数据.csv";
        QTest::newRow("save: a typed extension stays") << true << ""
                                                       << "数据.csv" << true << "数据.csv";
        QTest::newRow("save: the proposed name") << true << "调用记录.csv"
                                                 << "" << true << "调用记录.csv";
        QTest::newRow("save: cancelled") << true << ""
                                         << "数据" << false << "";
        QTest::newRow("open: an existing file") << false << ""
                                                << "old.csv" << true << "old.csv";
        QTest::newRow("open: a missing file is not taken") << false << ""
                                                           << "new.csv" << true << "";
        QTest::newRow("open: cancelled") << false << ""
                                         << "old.csv" << false << "";
    }

    void handsBackTheChosenPath()
    {
        QFETCH(bool, save);
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("old.csv")), "t\n"));
        const QString startPath = start.isEmpty() ? dir.path() : dir.filePath(start);
        const QString filter = QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)");
        Answer answer(typed, accept);
        const QString title = save ? QStringLiteral("导出 CSV") : QStringLiteral("打开示波器数据");
        const QString path = save ? AskSavePath(nullptr, title, startPath, filter, QStringLiteral("csv"))
                                  : AskOpenPath(nullptr, title, startPath, filter);
        QVERIFY(answer.qtDialog);
        QCOMPARE(answer.title, title);
        QCOMPARE(path, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    }
};

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
