// The window Kestrune starts and ends with: card choice, the four test
// windows, and the card library's start and close.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "childwindows.h"

class QAction;
class QComboBox;
class QKeySequence;
class QLabel;
class QPushButton;
class QTimer;

class MainForm : public QWidget {
    Q_OBJECT

public:
    // The test windows, in the order of their buttons, then the tools of the
    // right-click menu.
    enum Window {
        ParaWindow,
        IoWindow,
        CounterWindow,
        MotionWindow,
        CallLogWindow,
        ScopeWindow,
        MachineWindow,
        ConsoleWindow,
        WindowCount
    };

    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // The load step: settings paths (in `settingsFolder`), card library start,
    // card list, settings applied to card 0. Returns false when a card failed
    // to start; the form has then been unloaded and the program must end.
    bool Form_Load(const QString& settingsFolder);

    // Closes every open test window, most recent first, then the card library
    // (once, however often this runs).
    void Form_Unload();
    bool Unloaded() const;

    // How each test window is made; a window without a factory opens nothing.
    void SetWindowFactory(Window window, ChildWindows::Factory factory);

    // Opens (or brings forward) a test window.
    QWidget* OpenWindow(Window window);

    // Opens the hardware parameter window on its counting tab.
    void OpenParaFormOnCounterTab();

    // Opens the console and makes the call `line` there (the call log's
    // 在控制台中再次执行).
    void RunInConsole(const QString& line);

    void CoB_CardNo_Change(const QString& text);

    // The right-click menu's tools, each with its shortcut.
    QList<QAction*> ToolActions() const { return tools_; }

    // Shows how many card calls have failed so far, when any have; a click
    // opens the call log on them.
    void ShowFailureCount();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QLabel* LabelTitle;
    QLabel* LabelTitle2;
    QLabel* Image2;
    QLabel* Label1;
    QComboBox* CoB_CardNo;
    QPushButton* CB_ParaSet;
    QPushButton* CB_IoCheck;
    QPushButton* CommandCounter;
    QPushButton* CB_TestMotion;
    QPushButton* CB_Exit;

    void AddTool(Window window, const QString& caption, const QString& explanation, const QKeySequence& shortcut);

    QPushButton* failures_;
    QTimer* failureTimer_;
    uint64_t failuresShown_ = 0;

    QList<QAction*> tools_;
    ChildWindows windows_;
    std::array<ChildWindows::Factory, WindowCount> factories_;
    bool libraryClosed_ = false;
};
