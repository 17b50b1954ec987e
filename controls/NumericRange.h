// The arithmetic and texts of the numeric spin control and of the range check, kept apart from
// the windows so that tables of cases can check them.
#pragma once

#include <string>
#include <string_view>

namespace numeric_range {

// Up-down positions for a range and step: |(maximum - minimum) / step|, truncated, at most 32767.
// (-100, 100, 0.5) -> 400; (0, 100000, 1) -> 32767; a non-finite quotient -> 32767.
int PositionsFor(double minimum, double maximum, double step);

// The up-down position of a value: 0 below the range, `positions` above it, else in proportion,
// rounded. (0, 100, 100, 12.4) -> 12; a value that is no number -> 0.
int IntPosFor(double minimum, double maximum, int positions, double value);

// One step of the spin control from `current` by `delta` steps, wrapping or clamping when the
// result leaves the range by more than a relative tolerance of 1e-9.
// (0, 10, 1, 10, +1, wrap) -> 0; (0, 10, 1, 10, +1, clamp) -> 10; (0, 10, 1, 9.5, +1) -> 10.
double StepValue(double minimum, double maximum, double step, double current, int delta, bool wrap);

// The buddy's text: "%g" with `decimals` < 0, else fixed ("%.2f") or exponent ("%.2e", when "%g"
// writes one) with trailing zeros and a bare decimal point removed when `trimZeros`.
// (12.5, 2) -> "12.5"; (12, 2) -> "12"; (1.5e20, 2) -> "1.5e+20"; (0.125, -1) -> "0.125".
std::string FormatValue(double value, int decimals, bool trimZeros, char decimalPoint);

// Whether `format` is a printf format the value may be given to: literal text and "%%" with one
// floating conversion (flags, width, precision, one of e E f F g G a A). "%.1f s" yes, "%s" no.
bool IsValueFormat(std::string_view format);

// A number typed into an edit: blanks around it allowed, nothing else. "  2.5 " -> 2.5,
// "-0" -> 0; "2.5x", "", "abc", "nan", "inf" rejected.
bool ParseDouble(std::string_view text, double* out);

// A value against the interval written at the end of `rangeText` ("Zoom limit to [20.00, 500.00]",
// "(0, inf]", "[-~, 10)"): true when inside it or when the text holds no interval; otherwise
// false with the message to show.
bool CheckRange(double value, std::string_view rangeText, std::string* message);

// The edit text a value is loaded as: three significant digits (3.14159 -> "3.14"), but whole
// numbers of a thousand and more in full (1234.7 -> "1235") so that saving gives them back.
std::string LoadText(double value);

}  // namespace numeric_range
