// The texts in which the building calls append items to a CLOB. Each form
// lexes back as an item of its own type, with its value unchanged.
#pragma once

#include <string>
#include <string_view>

namespace zem {

std::string clobBoolItem(int value);  // "true" for any non-zero value
std::string clobIntItem(int value);
// Six significant digits when they give the float back exactly, else nine,
// else the digits of the float widened to a double.
std::string clobFloatItem(float value);
// "%#.1f" for an integral value in the 32-bit range, else the shortest of
// sixteen or seventeen significant digits that gives the double back.
std::string clobDoubleItem(double value);
std::string clobStringItem(std::string_view text);    // in double quotes, inner ones doubled
std::string clobFilenameItem(std::string_view name);  // between bars, unchanged

}  // namespace zem
