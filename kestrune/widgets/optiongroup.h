// The option buttons of one frame, as a user of the card's Windows tools
// knows them: selecting one clears the others, by mouse, Space, the arrow
// keys (which select, not only move) or a screen reader's action; the group
// is one Tab stop; and, unlike Qt's own exclusive buttons, the program may
// leave a group with no selection at all (a settings file that names none).
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <vector>

class QRadioButton;

class OptionGroup : public QObject {
    Q_OBJECT

public:
    explicit OptionGroup(QObject* parent = nullptr);

    // Adds `button`, with the handler its clicks run. The buttons of one group
    // share one parent widget (their frame), and nothing else there is an
    // option button of another group. Up and Left select the button added
    // before, Down and Right the one after, round the group, skipping hidden
    // and disabled buttons.
    void Add(QRadioButton* button, std::function<void()> onClick = {});

    // Selects `button`, clearing the others, and runs its handler, as a
    // program's selection of an option does.
    void Select(QRadioButton* button);
    // Selects `button` without running its handler: the design's selection.
    void Check(QRadioButton* button);
    // Leaves the group with no selection.
    void ClearAll();

    QRadioButton* Selected() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Toggled(QRadioButton* button, bool on);
    void Clicked(QRadioButton* button);
    void Run(QRadioButton* button);
    QRadioButton* Neighbour(QRadioButton* button, int step) const;
    void MarkTabStop();

    std::vector<QRadioButton*> buttons_;
    std::map<QRadioButton*, std::function<void()>> handlers_;
    bool programmatic_ = false;
    QRadioButton* ranFor_ = nullptr; // handler already run by this click's toggle
};
