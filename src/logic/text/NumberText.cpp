#include "logic/text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Length of the number that starts at position start, or 0 when none does.
qsizetype numberLength(const QString& text, qsizetype start) {
    qsizetype i = start;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i - start;
}

qsizetype skipBlanks(const QString& text, qsizetype i) {
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    return i;
}

// Rounds a non-negative value to the given decimals, half away from zero, working on its
// fifteen-digit decimal form so that 2.675 rounds like the 2.675 a person reads.
QString roundedDigits(double magnitude, int decimals) {
    const QString exact = QString::number(magnitude, 'e', 14); // d.dddddddddddddde+xx
    const int exponent = exact.mid(exact.indexOf(QLatin1Char('e')) + 1).toInt();
    QString mantissa = exact.left(exact.indexOf(QLatin1Char('e')));
    mantissa.remove(QLatin1Char('.'));
    // digits holds the value as an integer string scaled by 10^decimals, before rounding.
    const int keep = exponent + 1 + decimals; // how many mantissa digits lie before the cut
    if (keep < 0)
        return QStringLiteral("0");
    QString digits = mantissa.left(keep);
    while (digits.size() < keep)
        digits.append(QLatin1Char('0'));
    const bool roundUp = keep < mantissa.size() && mantissa[keep] >= QLatin1Char('5');
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
            --i;
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    return digits;
}

} // namespace

double leadingNumber(const QString& text) {
    const qsizetype start = skipBlanks(text, 0);
    const qsizetype length = numberLength(text, start);
    if (length == 0)
        return 0.0;
    QString number = text.mid(start, length);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return std::strtod(number.toLatin1().constData(), nullptr);
}

bool isNumberText(const QString& text) {
    const qsizetype start = skipBlanks(text, 0);
    const qsizetype length = numberLength(text, start);
    return length > 0 && skipBlanks(text, start + length) == text.size();
}

QString nonFiniteText(double value) {
    if (std::isnan(value))
        return QStringLiteral("nan");
    return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
}

QString plainNumberText(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return nonFiniteText(value);
    // Fifteen significant digits: beyond them a double only holds binary noise (35 * 0.1).
    const QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    // Written out without the exponent: the significant digits shifted by it.
    const bool negative = text.startsWith(QLatin1Char('-'));
    QString digits = text.left(e);
    digits.remove(QLatin1Char('-'));
    digits.remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const int exponent = text.mid(e + 1).toInt();
    // The exponent form comes only for exponents below -4 or from 15 up, where fifteen digits
    // at most all stand before the point.
    const QString plain =
        exponent < 0 ? QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits
                     : digits + QString(std::max<qsizetype>(0, exponent + 1 - digits.size()),
                                        QLatin1Char('0'));
    return negative ? QLatin1Char('-') + plain : plain;
}

QString signedNumberText(double value) {
    const QString text = plainNumberText(value);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

QString formatNumber(double value, const QString& pattern) {
    // Digits of an infinity or NaN would read as some number; its own text reads as none.
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const int minimumIntegerDigits = static_cast<int>(integerPattern.count(QLatin1Char('0')));
    const int maximumDecimals = static_cast<int>(fractionPattern.size());
    const int minimumDecimals = static_cast<int>(fractionPattern.lastIndexOf(QLatin1Char('0')) + 1);

    QString digits = roundedDigits(std::fabs(value), maximumDecimals);
    while (digits.size() <= maximumDecimals)
        digits.prepend(QLatin1Char('0'));
    QString integerDigits = digits.left(digits.size() - maximumDecimals);
    QString decimals = digits.right(maximumDecimals);

    while (integerDigits.size() > 1 && integerDigits.startsWith(QLatin1Char('0')))
        integerDigits.remove(0, 1);
    if (integerDigits == QLatin1String("0"))
        integerDigits.clear();
    while (integerDigits.size() < minimumIntegerDigits)
        integerDigits.prepend(QLatin1Char('0'));
    while (decimals.size() > minimumDecimals && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);

    QString text = integerDigits;
    if (point >= 0)
        text += QLatin1Char('.') + decimals;
    const bool isZero =
        !std::any_of(digits.cbegin(), digits.cend(), [](QChar c) { return c != QLatin1Char('0'); });
    if (value < 0 && !isZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString formatNumberText(const QString& text, const QString& pattern) {
    if (!isNumberText(text))
        return text;
    return formatNumber(leadingNumber(text), pattern);
}

namespace {

// A whole-valued double as long long, the ends of its range for anything beyond, 0 for NaN.
long long saturatedWhole(double whole) {
    using Limits = std::numeric_limits<long long>;
    // 2^63: the first double beyond the range; -2^63 itself is still in it.
    constexpr double beyond = 9223372036854775808.0;
    if (std::isnan(whole))
        return 0;
    if (whole >= beyond)
        return Limits::max();
    if (whole < -beyond)
        return Limits::min();
    return static_cast<long long>(whole);
}

} // namespace

long long roundHalfEven(double value) {
    // nearbyint rounds halves to even in the default rounding mode, which the program never
    // changes.
    return saturatedWhole(std::nearbyint(value));
}

long long wholeDivide(double dividend, double divisor) {
    const long long a = roundHalfEven(dividend);
    const long long b = roundHalfEven(divisor);
    if (b == 0)
        return 0;
    if (b == -1)
        return a == std::numeric_limits<long long>::min() ? std::numeric_limits<long long>::max()
                                                          : -a;
    return a / b;
}

long long wholeRemainder(double dividend, double divisor) {
    const long long a = roundHalfEven(dividend);
    const long long b = roundHalfEven(divisor);
    if (b == 0)
        return a;
    if (b == -1)
        return 0;
    return a % b;
}

long long integerPart(double value) {
    return saturatedWhole(std::floor(value));
}

QString hexText(unsigned value) {
    return QString::number(value, 16).toUpper();
}
