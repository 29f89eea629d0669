// 参数设置: the hardware configuration of axes 0 and 1, loaded from and saved
// to hardware_set.txt and applied to the card after each save.
#pragma once

#include <QHash>
#include <QWidget>

#include "settings/hardwaresettings.h"

class IniBatch;
class OptionGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

class ParaForm : public QWidget {
    Q_OBJECT

public:
    // The tab that shows the counting settings.
    static constexpr int kCounterTab = 2;

    explicit ParaForm(QWidget* parent = nullptr);

    void Form_Load();
    void CB_LoadHardPara_Click();
    void CB_SaveHardPara_Click();

    // Writes the window's settings as those of `axis` into the save's batch.
    void SaveHardwareSettings(int axis, IniBatch& batch);
    void LoadHardwareSettings(int axis);

    // The window's choices as the settings file sees them, and back.
    HardwareFields Fields() const;
    void ShowFields(const HardwareFields& fields);

    // Brings the window forward on its counting tab (the counter window's
    // configuration button).
    void ShowCounterTab();

    QTabWidget* SSTab1;

private:
    QWidget* ParentOf(const char* name) const;
    void Place(QWidget* widget, const char* parent, int left, int top, int width, int height);

    QHash<QString, QWidget*> controls_;
    QHash<QString, OptionGroup*> groups_;  // by frame name
    QHash<QString, OptionGroup*> groupOf_; // by button name
    int tabOffset_ = 0;                    // height of the tab row, in twips
    QPushButton* CB_LoadHardPara;
    QPushButton* CB_SaveHardPara;
};
