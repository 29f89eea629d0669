// Whole-file helpers for tests that look at bytes on disk.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A text file's bytes with its lines ending in '\n' alone, as Windows' text
// files end them in "\r\n".
inline QByteArray ReadText(const QString& path) { return ReadBytes(path).replace("\r\n", "\n"); }

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
