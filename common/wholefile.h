// Writing a settings file whole: a new content replaces the old in one step,
// so a crash, a kill or a full disk leaves the old file or the new one, never
// half of one.
#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>

// The error of a file that another program holds open and does not share
// (Windows): the file is as it was, and a later try may succeed.
inline constexpr int kFileInUse = EBUSY;

// Reads the whole file at `path` into `bytes` and returns 0, or the errno of
// the failure (ENOENT for a missing file) with `bytes` empty.
int ReadWholeFile(const QString& path, QByteArray& bytes);

// Replaces the content of the file at `path` with `bytes` and returns 0, or
// the error number (errno-style, whatever the system) of the step that
// failed; the file is then as it was.
//
// The new content is written beside the file, in a hidden temporary file
// (".hardware_set.txt.Ab3dE9.tmp"), synced and renamed over it; temporary
// files that killed saves left behind are removed first, never one that a
// living writer holds. The file keeps its
// permissions, and its owner where the process may keep it. A
// symbolic link is followed, not replaced. When the folder refuses the
// temporary file but the file itself may be written (a read-only program
// folder handed to an operator with writable settings files), the file is
// rewritten in place, whole, and synced before this returns. A file that may
// not be written is never replaced. A file that another program holds open
// (Windows) gives kFileInUse and stays as it was.
int WriteWholeFile(const QString& path, const QByteArray& bytes);

// Why a write failed, for the user, in Chinese.
QString WriteErrorText(int error);

// The message of a save that could not write the file at `path`.
QString SaveFailedMessage(const QString& path, int error);
