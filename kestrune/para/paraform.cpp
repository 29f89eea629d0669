#include "paraform.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "common/message.h"
#include "paralayout.h"
#include "parapictures.h"
#include "settings/apply.h"
#include "settings/ini.h"
#include "settings/state.h"
#include "common/wholefile.h"
#include "widgets/controls.h"
#include "widgets/optiongroup.h"

namespace {

const char* const kTabCaptions[] = {"脉冲设置", "回原点设置", "计数设置", "限位设置", "伺服信号"};

} // namespace

ParaForm::ParaForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ParaForm"));
    setWindowTitle(QStringLiteral("参数设置"));
    setFont(SongTi(9));
    SizeTwips(this, 7710, 6615);
    // Frames as the layout draws them: a plain border with the caption, in
    // blue, standing on its top edge.
    DrawFramesAsLaidOut(this, QStringLiteral("rgb(0, 0, 255)"));

    SSTab1 = ::Place<QTabWidget>(this, QStringLiteral("SSTab1"), 120, 120, 7455, 4935);
    for (int t = 0; t < 5; ++t) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("tab%1").arg(t));
        SSTab1->addTab(page, QString::fromUtf8(kTabCaptions[t]));
        controls_.insert(page->objectName(), page);
    }
    // Positions on a tab are the tab strip's; the pages begin below the tabs,
    // whose row the layout reckons at 300 twips at most.
    tabOffset_ = std::min(SSTab1->tabBar()->sizeHint().height() * kTwipsPerPixel, 300);

    for (const FrameSpec& f : ParaFrames()) {
        auto* frame = new QGroupBox(QString::fromUtf8(f.caption), ParentOf(f.parent));
        frame->setObjectName(QLatin1String(f.name));
        Place(frame, f.parent, f.left, f.top, f.width, f.height);
        frame->setVisible(!f.hidden);
        controls_.insert(frame->objectName(), frame);
    }
    for (const ControlSpec& o : ParaOptions()) {
        auto* option = new QRadioButton(QString::fromUtf8(o.caption), ParentOf(o.parent));
        option->setObjectName(QLatin1String(o.name));
        Place(option, o.parent, o.left, o.top, o.width, o.height);
        option->setVisible(!o.hidden);
        option->setEnabled(!o.disabled);
        OptionGroup*& group = groups_[QLatin1String(o.parent)];
        if (!group)
            group = new OptionGroup(this);
        group->Add(option);
        groupOf_.insert(option->objectName(), group);
        controls_.insert(option->objectName(), option);
    }
    for (const ControlSpec& t : ParaTexts()) {
        auto* text = new QLineEdit(QString::fromUtf8(t.caption), ParentOf(t.parent));
        text->setObjectName(QLatin1String(t.name));
        Place(text, t.parent, t.left, t.top, t.width, t.height);
        text->setVisible(!t.hidden);
        controls_.insert(text->objectName(), text);
    }
    for (const ControlSpec& l : ParaLabels()) {
        auto* label = new QLabel(QString::fromUtf8(l.caption), ParentOf(l.parent));
        label->setObjectName(QLatin1String(l.name));
        Place(label, l.parent, l.left, l.top, l.width, l.height);
        label->setVisible(!l.hidden);
        controls_.insert(label->objectName(), label);
    }
    auto* note = qobject_cast<QLabel*>(controls_.value(QStringLiteral("Label9")));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));

    auto* picture = new QLabel(controls_.value(QStringLiteral("Frame5")));
    picture->setObjectName(QStringLiteral("Picture2"));
    picture->setPixmap(PulseTypeTable());
    PlaceTwips(picture, 600, 1440, 5220, 2220);
    auto* illustration = new HomeIllustration(controls_.value(QStringLiteral("tab1")), tabOffset_);
    illustration->lower();

    auto* saveFrame = controls_.value(QStringLiteral("Frame13"));
    for (int axis = 0; axis < 4; ++axis) {
        auto* box = ::Place<QCheckBox>(saveFrame, Indexed("ChB_SaveHParaAxis", axis), 240 + (axis % 2) * 960,
                                       360 + (axis / 2) * 300, 900, 300);
        box->setText(QStringLiteral("第%1轴").arg(axis));
        box->setVisible(axis < 2);
        box->setEnabled(axis < 2);
        controls_.insert(box->objectName(), box);
    }
    CB_LoadHardPara = ::Place<QPushButton>(controls_.value(QStringLiteral("Frame12")),
                                           QStringLiteral("CB_LoadHardPara"), 2280, 240, 855, 495);
    CB_LoadHardPara->setText(QStringLiteral("加载"));
    CB_SaveHardPara = ::Place<QPushButton>(saveFrame, QStringLiteral("CB_SaveHardPara"), 2160, 240, 855, 495);
    CB_SaveHardPara->setText(QStringLiteral("保存"));
    connect(CB_LoadHardPara, &QPushButton::clicked, this, &ParaForm::CB_LoadHardPara_Click);
    connect(CB_SaveHardPara, &QPushButton::clicked, this, &ParaForm::CB_SaveHardPara_Click);

    SSTab1->setCurrentIndex(kCounterTab);
}

QWidget* ParaForm::ParentOf(const char* name) const
{
    return *name ? controls_.value(QLatin1String(name)) : const_cast<ParaForm*>(this);
}

void ParaForm::Place(QWidget* widget, const char* parent, int left, int top, int width, int height)
{
    const bool onTab = QLatin1String(parent).startsWith(QLatin1String("tab"));
    PlaceTwips(widget, left, onTab ? top - tabOffset_ : top, width, height);
}

void ParaForm::Form_Load()
{
    LoadHardwareSettings(0);
    auto* load0 = qobject_cast<QRadioButton*>(controls_.value(QStringLiteral("OB_LoadHParaAxis(0)")));
    groupOf_.value(load0->objectName())->Select(load0);
    CB_LoadHardPara->setFocus();
}

void ParaForm::CB_LoadHardPara_Click()
{
    for (int axis = 0; axis < 2; ++axis)
        if (qobject_cast<QRadioButton*>(controls_.value(Indexed("OB_LoadHParaAxis", axis)))->isChecked())
            LoadHardwareSettings(axis);
}

void ParaForm::CB_SaveHardPara_Click()
{
    // Both axes go into the file at once: a kill or a crash leaves the old
    // settings or the new, never one axis of each.
    IniBatch batch(HardwareSetPath);
    for (int axis = 0; axis < 2; ++axis)
        if (qobject_cast<QCheckBox*>(controls_.value(Indexed("ChB_SaveHParaAxis", axis)))->isChecked())
            SaveHardwareSettings(axis, batch);
    // One message for the whole save; the card is then configured from the
    // file as it is.
    if (const int error = batch.Commit())
        ShowMessage(SaveFailedMessage(QDir::toNativeSeparators(HardwareSetPath), error), this);
    ApplyHardwareSettings(CurrentCardNo); // also when no axis is ticked
}

void ParaForm::SaveHardwareSettings(int axis, IniBatch& batch) { WriteHardwareSettings(axis, Fields(), batch); }

void ParaForm::LoadHardwareSettings(int axis)
{
    HardwareFields fields = Fields();
    ReadHardwareSettings(axis, HardwareSetPath, fields);
    ShowFields(fields);
}

HardwareFields ParaForm::Fields() const
{
    HardwareFields fields;
    for (const KeyControls& key : ParaKeyControls()) {
        const QString name = QLatin1String(key.key);
        if (key.controls.size() == 1) {
            fields.texts[name] = qobject_cast<QLineEdit*>(controls_.value(QLatin1String(key.controls[0])))->text();
            continue;
        }
        int selected = -1;
        for (size_t i = 0; i < key.controls.size(); ++i)
            if (qobject_cast<QRadioButton*>(controls_.value(QLatin1String(key.controls[i])))->isChecked())
                selected = static_cast<int>(i);
        fields.selected[name] = selected;
    }
    return fields;
}

void ParaForm::ShowFields(const HardwareFields& fields)
{
    for (const KeyControls& key : ParaKeyControls()) {
        const QString name = QLatin1String(key.key);
        if (key.controls.size() == 1) {
            if (const auto it = fields.texts.find(name); it != fields.texts.end())
                qobject_cast<QLineEdit*>(controls_.value(QLatin1String(key.controls[0])))->setText(it->second);
            continue;
        }
        const auto it = fields.selected.find(name);
        if (it == fields.selected.end())
            continue;
        OptionGroup* group = groupOf_.value(QLatin1String(key.controls[0]));
        if (it->second < 0 || it->second >= static_cast<int>(key.controls.size()))
            group->ClearAll();
        else
            group->Select(qobject_cast<QRadioButton*>(controls_.value(QLatin1String(key.controls[it->second]))));
    }
}

void ParaForm::ShowCounterTab() { SSTab1->setCurrentIndex(kCounterTab); }
