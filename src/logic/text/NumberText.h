#pragma once

#include <QString>

// The number conversions every part of the program shares. Readings travel as text with "." as
// decimal point, whatever the locale; these turn them into numbers and back.

// The decimal number at the start of text (leading blanks skipped, an optional sign, digits, a
// point, an exponent); anything after it is ignored. A text that starts with no number gives 0.
double leadingNumber(const QString& text);

// The text of a value that is no number: "inf", "-inf", "nan". No number reader takes it for
// one (leadingNumber reads 0, isNumberText says false), so it shows as what it is and a caller
// that reads it back must check for it, as it checks for "OL".
QString nonFiniteText(double value);

// The shortest plain decimal text of a number, with a leading zero before the point: 3.5, 0.5,
// 0, 1, -2.25, never an exponent (1e-20 gives 0.00000000000000000001). Fifteen significant
// digits at most, so 35 * 0.1 gives 3.5. A non-finite value gives nonFiniteText.
QString plainNumberText(double value);

// The signed text: one space before a non-negative number (" 12"), the minus sign otherwise.
QString signedNumberText(double value);

// Formats value by a numeric pattern: "0" is a digit always shown, "#" one shown only when
// significant; the value is rounded half away from zero to the pattern's decimals. Patterns in
// use: "00", "#0.0#", "##0.0", "0.0", "0.#", "###.##0", "##.0", "##". A non-finite value gives
// nonFiniteText whatever the pattern.
QString formatNumber(double value, const QString& pattern);

// Applies a pattern to a text: a text that reads as a number is formatted, any other text
// ("OL", "-OL", "----", "") comes back unchanged.
QString formatNumberText(const QString& text, const QString& pattern);

// True when the whole text, blanks aside, is one decimal number.
bool isNumberText(const QString& text);

// Whole-number conversions: to the nearest whole number with halves to the even neighbour;
// integer division and remainder on operands so rounded, the quotient truncated toward zero;
// the integer part rounded toward minus infinity. Defined for every double: a value beyond the
// range of long long gives the nearest end of that range (so do +-inf), NaN gives 0. A zero
// divisor gives the quotient 0 and the remainder the rounded dividend, so that dividend =
// quotient * divisor + remainder still holds; the one quotient too large, the lowest long long
// divided by -1, gives the highest.
long long roundHalfEven(double value);
long long wholeDivide(double dividend, double divisor);
long long wholeRemainder(double dividend, double divisor);
long long integerPart(double value);

// Hexadecimal text without leading zeros, upper case: 0x05 gives "5", 0x3A gives "3A", 0 gives "0".
QString hexText(unsigned value);
