// The settings files are GBK text (code page 936), as the Windows programs
// that share them write it. Both systems' conversions (gbk_posix.cpp with
// iconv, gbk_windows.cpp with code page 936) give the same bytes and texts,
// including for what GBK cannot hold: one table, wherever the file is read.
#pragma once

#include <QByteArray>
#include <QString>

// Characters that GBK cannot hold become '?', as the Windows conversion does.
QByteArray ToGbk(const QString& text);
// Bytes that are not GBK become U+FFFD, one for each byte that starts no
// character; the byte after it is read afresh.
QString FromGbk(const QByteArray& bytes);
