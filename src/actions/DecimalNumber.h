#pragma once

#include <string>
#include <string_view>

namespace ordwell {

// Decimal numbers as macros write them: always with a decimal point,
// whatever the user's locale says.

// The leading number of a text, read like the C library's atof in the "C"
// locale: leading white space skipped, an optional sign, digits with an
// optional decimal point and exponent; reading stops at the first character
// that cannot continue the number. 0 when the text starts with no number.
// Words such as "inf" and "nan" and hexadecimal forms are no numbers; a
// value too large for a double reads as infinity, one too small as 0.
double ReadDecimalNumber(std::string_view text);

// The number with two decimals, padded on the left with blanks to at least
// five characters, as printf's "%5.2f" in the "C" locale.
std::string FormatTwoDecimals(double value);

} // namespace ordwell
