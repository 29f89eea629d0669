// Qt's own texts read Chinese, like the programs' own: a message box's button
// says "确定", whatever the system locale.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/message.h"
#include "common/translations.h"

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void messageBoxButtonSaysQueDing()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(InstallQtChineseTexts());
        QString title;
        QStringList buttons;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            title = box->windowTitle();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            box->buttons().value(0)->click();
        });
        poll.start();
        ShowMessage(QStringLiteral("未找到Brevak运动控制卡，单击“确定”进入模拟演示界面！"));
        QCOMPARE(title, QStringLiteral("Kestrune"));
        QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
