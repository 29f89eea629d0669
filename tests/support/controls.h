// Finding a window's controls by their object names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <QtGlobal>

// The control `name` of `window`; a test without it cannot go on.
template <typename W>
W* Find(QWidget* window, const QString& name)
{
    auto* w = window->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}
