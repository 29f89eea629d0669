#include "cnumber.h"

#include <locale.h>
#include <stdlib.h>

double CLocaleToDouble(const std::string& number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(number.c_str(), nullptr, cLocale);
}
