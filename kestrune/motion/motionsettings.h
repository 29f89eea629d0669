// Motion_set.txt: the motion window's parameters from one run to the next.
#pragma once

#include <QString>

#include "motionfields.h"

// Writes the fields into the file at `path`, key by key, and replaces the
// file once with the result; does nothing when the file does not exist (it is
// never created here). Returns 0, or the errno of the failure.
int WriteMotionSettings(const MotionFields& fields, const QString& path);

// Reads the file at `path` into `fields`: false, and nothing changed, when
// the file does not exist. Missing keys read as empty texts; the mode and the
// two-choice options take their loaded values. The interpolation end texts
// come from ARCEND (and the centres from ARCCENTER) when the loaded mode is
// arc interpolation, from LINEEND otherwise (the centres then stay).
bool ReadMotionSettings(const QString& path, MotionFields& fields);
