// What both systems' whole-file writers share: the names of their temporary
// files, and finding the ones that a killed save left behind.
#pragma once

#include <QString>
#include <QStringList>

namespace wholefile {

// A fresh name for a temporary file of `target`, beside it, hidden and ending
// in ".tmp" so that no one takes it for a settings file:
// "folder/.hardware_set.txt.Ab3dE9.tmp".
QString NewTemporaryPath(const QString& target);

// The temporary files of `target` now in its folder, whether a writer still
// holds them or not.
QStringList TemporaryPaths(const QString& target);

} // namespace wholefile
