// An option group behaves as radio buttons do for every user path, while the
// program may still leave it with no selection.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/optiongroup.h"

namespace {

// A window: a text box, a frame of four options (the last hidden, the third
// disabled), and another text box.
struct Window {
    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        layout->addWidget(before);
        auto* frame = new QGroupBox(&window);
        auto* inner = new QVBoxLayout(frame);
        for (int i = 0; i < 4; ++i) {
            options[i] = new QRadioButton(QStringLiteral("option %1").arg(i), frame);
            inner->addWidget(options[i]);
            group.Add(options[i], [this, i] { ran << i; });
        }
        options[2]->setEnabled(false);
        options[3]->hide();
        layout->addWidget(frame);
        after = new QLineEdit(&window);
        layout->addWidget(after);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the test window does not show");
    }

    QWidget window;
    QLineEdit* before;
    QLineEdit* after;
    QRadioButton* options[4];
    OptionGroup group;
    QList<int> ran; // handlers run, in order
};

QList<bool> States(const Window& w)
{
    return {w.options[0]->isChecked(), w.options[1]->isChecked(), w.options[2]->isChecked(), w.options[3]->isChecked()};
}

void Act(QRadioButton* button, const QString& action)
{
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(action);
}

} // namespace

class TestOptionGroup : public QObject {
    Q_OBJECT

private slots:
    void theProgramSelectsChecksAndClears()
    {
        Window w;
        w.group.Check(w.options[1]);
        QVERIFY(w.ran.isEmpty()); // the design's selection runs nothing
        w.group.Select(w.options[0]);
        QCOMPARE(States(w), (QList<bool>{true, false, false, false}));
        QCOMPARE(w.ran, QList<int>{0});
        w.group.ClearAll();
        QCOMPARE(States(w), (QList<bool>{false, false, false, false}));
        QCOMPARE(w.group.Selected(), nullptr);
    }

    void clicksAndSpaceSelectOneAndRunItsHandlerOnce()
    {
        Window w;
        QTest::mouseClick(w.options[1], Qt::LeftButton, {}, QPoint(6, w.options[1]->height() / 2));
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        QCOMPARE(w.ran, QList<int>{1});
        QTest::mouseClick(w.options[1], Qt::LeftButton, {},
                          QPoint(6, w.options[1]->height() / 2)); // stays selected, runs again
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        QCOMPARE(w.ran, (QList<int>{1, 1}));
        w.options[0]->setFocus();
        QTest::keyClick(w.options[0], Qt::Key_Space);
        QCOMPARE(States(w), (QList<bool>{true, false, false, false}));
        QCOMPARE(w.ran, (QList<int>{1, 1, 0}));
    }

    void arrowKeysSelectAsTheyMoveSkippingWhatCannotBeChosen()
    {
        Window w;
        w.group.ClearAll();
        w.options[0]->setFocus();
        // With no selection, Down selects the next option at once.
        QTest::keyClick(w.options[0], Qt::Key_Down);
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        QCOMPARE(QApplication::focusWidget(), w.options[1]);
        // Past the disabled and the hidden one, round to the first.
        QTest::keyClick(w.options[1], Qt::Key_Right);
        QCOMPARE(States(w), (QList<bool>{true, false, false, false}));
        QTest::keyClick(w.options[0], Qt::Key_Up);
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        QCOMPARE(w.ran, (QList<int>{1, 0, 1}));
    }

    void theGroupIsOneTabStop()
    {
        Window w;
        w.before->setFocus();
        QTest::keyClick(w.before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.options[0]); // no selection: the first
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.after);

        w.group.Select(w.options[1]);
        w.before->setFocus();
        QTest::keyClick(w.before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.options[1]); // at the selection
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.after);
    }

    void aScreenReaderSeesRadioButtonsAndItsActionsSelectOne()
    {
        Window w;
        QAccessible::setActive(true);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.options[0])->role(), QAccessible::RadioButton);

        w.group.Select(w.options[0]);
        w.ran.clear();
        Act(w.options[1], QAccessibleActionInterface::toggleAction());
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        QCOMPARE(w.ran, QList<int>{1});
        // Toggling the selected one cannot leave the group empty.
        Act(w.options[1], QAccessibleActionInterface::toggleAction());
        QCOMPARE(States(w), (QList<bool>{false, true, false, false}));
        Act(w.options[0], QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(States(w), (QList<bool>{true, false, false, false}));
        QCOMPARE(w.ran, (QList<int>{1, 0}));
    }
};

QTEST_MAIN(TestOptionGroup)
#include "tst_optiongroup.moc"
