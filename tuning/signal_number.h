// Numbers as the program shows and writes them: the same text in every locale
// and on every platform. printf reads the process locale (GTK sets it, so a
// German desktop would get "15,70") and the C runtimes spell a NaN each their
// own way; these never do.
#pragma once

#include <string>

// printf's "%.Nf" in the C locale; "nan", "inf" or "-inf" for those values.
std::string FixedText(double value, int decimals);
// printf's "%.Ne" in the C locale; "nan", "inf" or "-inf" for those values.
std::string ScientificText(double value, int decimals);
// printf's "%g" in the C locale; "nan", "inf" or "-inf" for those values.
std::string GeneralText(double value);
// The shortest text that reads back as the same value: as a float when it is
// one (a library's float figure), as a double otherwise (a 32-bit integer).
std::string ShortestText(double value);
