// A decimal number read in the C locale: the decimal point is '.' whatever
// the user's locale says. One implementation per system (cnumber_posix.cpp,
// cnumber_windows.cpp).
#pragma once

#include <string>

// strtod in the C locale: a value beyond a double's range gives ±HUGE_VAL,
// one below it 0.
double CLocaleToDouble(const std::string& number);
