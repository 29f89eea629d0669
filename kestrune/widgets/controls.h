// Building blocks every Kestrune window uses: controls placed in twips and
// named as the windows name them.
#pragma once

#include <QRect>
#include <QString>

#include "twips.h"

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

// The same, and option buttons, at a position in twips within `parent`.
QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height);
QLineEdit* AddText(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int height);
QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                       int height);
QGroupBox* AddFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                    int height);
QRadioButton* AddOption(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                        int height);

// The object name of element `index` of a control array: "T_PosAxis(1)".
inline QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A column heading that shows its words stacked, one under the other (the
// signal's name over "状态"), while its text, which screen readers and tests
// read, stays the caption exactly as given, blanks and all.
QLabel* AddStackedLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r);

// Frames of `window` drawn as the layouts measure them: a plain border that
// runs through the middle of the caption, so that a frame's first row sits
// where its twips put it, inside the border. `captionColour` is a style
// sheet colour ("rgb(0, 0, 255)"), or empty for the window's text colour.
void DrawFramesAsLaidOut(QWidget* window, const QString& captionColour = {});

// Sets the text of a text box or label that shows a live value, when it
// differs: setting the same text again repaints the control and, in a text
// box, drops the user's selection, ten times a second.
template <typename W>
void SetTextIfChanged(W* control, const QString& text)
{
    if (control->text() != text)
        control->setText(text);
}

// A text box that only shows values: disabled for input, its text still in
// full black so that live values stay readable.
void MakeDisplayOnly(QWidget* textBox);
