// The settings files are GBK text (code page 936), as the Windows programs
// that share them write it.
#pragma once

#include <QByteArray>
#include <QString>

// Characters that GBK cannot hold become '?', as the Windows conversion does.
QByteArray ToGbk(const QString& text);
// Bytes that are not GBK become U+FFFD.
QString FromGbk(const QByteArray& bytes);
