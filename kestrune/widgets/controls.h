// Building blocks every Kestrune window uses: controls placed in twips and
// named as the windows name them, and option groups that may have no
// selection.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <map>

#include "twips.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// A control of type W in `parent`, with object name `name`, at a position in
// twips (relative to the parent, as frames place their controls).
template <typename W>
W* Place(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    PlaceTwips(w, left, top, width, height);
    return w;
}

// A rectangle in pixels from twips.
QRect Twips(int left, int top, int width, int height);

// Labels, text boxes, buttons and frames with their object name, at a
// rectangle in pixels within `parent`.
QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r);
QLineEdit* AddText(QWidget* parent, const QString& name, const QString& text, const QRect& r);
QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, const QRect& r);
QGroupBox* AddFrame(QWidget* parent, const QString& name, const QString& caption, const QRect& r);

// The object name of element `index` of a control array: "T_PosAxis(1)".
inline QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A text box that only shows values: disabled for input, its text still in
// full black so that live values stay readable.
void MakeDisplayOnly(QWidget* textBox);

// Option buttons of one frame: selecting one clears the others, and, unlike
// Qt's auto-exclusive buttons, the group may have no selection at all. Each
// button may carry a click handler, which runs when the user clicks it and
// when the program selects it.
class OptionGroup : public QObject {
    Q_OBJECT

public:
    explicit OptionGroup(QObject* parent = nullptr);

    void Add(QRadioButton* button, std::function<void()> onClick = {});

    // Selects `button` (clearing the others) and runs its handler.
    void Select(QRadioButton* button);
    // Clears `button` without selecting another.
    void Clear(QRadioButton* button);
    void ClearAll();

    QRadioButton* Selected() const;

private:
    void Clicked(QRadioButton* button);

    std::vector<QRadioButton*> buttons_;
    std::map<QRadioButton*, std::function<void()>> handlers_;
};
