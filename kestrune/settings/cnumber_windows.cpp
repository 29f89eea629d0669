#include "cnumber.h"

#include <locale.h>
#include <stdlib.h>

double CLocaleToDouble(const std::string& number)
{
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(number.c_str(), nullptr, cLocale);
}
