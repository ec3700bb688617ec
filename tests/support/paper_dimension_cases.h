// Width and length values and the tenths of a millimetre each gives, shared
// by the tests on the simulated Windows and those built for Windows: the
// C runtimes differ in what strtod reads, the results must not.
#pragma once

#include <cstdint>

namespace plenwick_test {

struct PaperDimensionCase {
  const char* value;
  int32_t tenths;
};

inline const PaperDimensionCase kPaperDimensionCases[] = {
    {"8.5", 2159},
    {"8.5i", 2159},
    {"  \t8.5in", 2159},  // blanks before the number
    {"+8.5", 2159},
    {"  -1", -254},
    {".5", 127},
    {"8.", 2032},
    {"210 mm", 2100},
    {"2.1e2mm", 2100},
    {"2.1E+2 mm", 2100},
    {"85e-1", 2159},
    {"1e", 254},  // an exponent without digits is not one
    {"1e+", 254},
    {"11x17", 2794},  // the number at the start
    {"0x10", 0},      // not hexadecimal: the number is the 0 before the x
    {"0X1p4", 0},
    {"inf", 0},  // neither infinity nor NaN is a size
    {"INFINITY", 0},
    {"-inf", 0},
    {"nan", 0},
    {"nan(1)", 0},
    {"", 0},
    {".", 0},
    {"-", 0},
    {"e5", 0},
    {"1e999", INT32_MAX},  // beyond any paper: the largest value
    {"-1e999", INT32_MIN},
    {"0e999", 0},
    {"1e-999", 0},
};

}  // namespace plenwick_test
