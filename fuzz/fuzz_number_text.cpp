// The number texts on any double (NaN, infinities and subnormals included, reached through raw
// bits) and on any text: every pattern gives a well-formed text that reads back within its
// rounding, a non-finite value never gives a text that reads as a number, and the whole-number
// conversions are defined and consistent for every operand.
#include "FuzzCheck.h"
#include "logic/text/NumberText.h"

#include <QString>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The fifteen-digit text of the largest doubles, 1.79769313486232e308, lies beyond them: it
// reads back as infinity, of the value's sign.
bool readsBackAsInfinity(double value, double back) {
    return std::isinf(back) && std::fabs(value) >= 1.797693134862315e308 &&
           std::signbit(back) == std::signbit(value);
}

const char* const patterns[] = {
    "00", "#0.0#", "##0.0", "0.0", "0.#", "###.##0", "##.0", "##", "0.###############"};

void checkPattern(double value, const QString& pattern) {
    const QString text = formatNumber(value, pattern);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == nonFiniteText(value));
        FUZZ_CHECK(!isNumberText(text) && leadingNumber(text) == 0.0);
        return;
    }
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const qsizetype minimumIntegers = integerPattern.count(QLatin1Char('0'));
    const qsizetype minimumDecimals = fractionPattern.lastIndexOf(QLatin1Char('0')) + 1;

    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString unsignedText = negative ? text.mid(1) : text;
    const qsizetype textPoint = unsignedText.indexOf(QLatin1Char('.'));
    FUZZ_CHECK((textPoint >= 0) == (point >= 0));
    const QString integers = textPoint < 0 ? unsignedText : unsignedText.left(textPoint);
    const QString decimals = textPoint < 0 ? QString() : unsignedText.mid(textPoint + 1);
    for (const QString& digits : {integers, decimals})
        for (QChar c : digits)
            FUZZ_CHECK(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    FUZZ_CHECK(integers.size() >= minimumIntegers);
    FUZZ_CHECK(integers.size() <= minimumIntegers || !integers.startsWith(QLatin1Char('0')));
    FUZZ_CHECK(decimals.size() >= minimumDecimals && decimals.size() <= fractionPattern.size());

    // Within half a unit of the last decimal, give or take the fifteen-digit form it rounds.
    const double back = leadingNumber(text);
    if (readsBackAsInfinity(value, back))
        return;
    const double halfUnit = 0.5 * std::pow(10.0, -static_cast<double>(fractionPattern.size()));
    FUZZ_CHECK(std::fabs(back - value) <= halfUnit * (1 + 1e-9) + 1e-14 * std::fabs(value));
    FUZZ_CHECK(negative == (value < 0 && back != 0.0));
}

void checkPlainText(double value) {
    const QString text = plainNumberText(value);
    const QString signedText = signedNumberText(value);
    FUZZ_CHECK(signedText == (value < 0 ? text : QLatin1Char(' ') + text));
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == nonFiniteText(value) && !isNumberText(text));
        return;
    }
    FUZZ_CHECK(isNumberText(text) && !text.contains(QLatin1Char('e')));
    FUZZ_CHECK(!text.endsWith(QLatin1Char('.')));
    const double back = leadingNumber(text);
    FUZZ_CHECK(std::fabs(back - value) <= 1e-14 * std::fabs(value) ||
               readsBackAsInfinity(value, back));
    QString digits = text;
    digits.remove(QLatin1Char('-'));
    digits.remove(QLatin1Char('.'));
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    FUZZ_CHECK(digits.size() <= 15);
}

void checkWholeNumbers(double value, double divisor) {
    constexpr double beyond = 9223372036854775808.0;
    // From 2^52 up every double is a whole number.
    constexpr double allWhole = 4503599627370496.0;
    const long long rounded = roundHalfEven(value);
    const long long integer = integerPart(value);
    if (std::isnan(value)) {
        FUZZ_CHECK(rounded == 0 && integer == 0);
    } else if (std::fabs(value) >= allWhole && std::fabs(value) < beyond) {
        FUZZ_CHECK(rounded == static_cast<long long>(value) && integer == rounded);
    } else if (std::fabs(value) < allWhole) {
        FUZZ_CHECK(std::fabs(static_cast<double>(rounded) - value) <= 0.5);
        if (std::fabs(static_cast<double>(rounded) - value) == 0.5)
            FUZZ_CHECK(rounded % 2 == 0);
        FUZZ_CHECK(static_cast<double>(integer) <= value &&
                   value < static_cast<double>(integer) + 1);
    } else if (value >= beyond) {
        FUZZ_CHECK(rounded == LLONG_MAX && integer == LLONG_MAX);
    } else if (value < -beyond) {
        FUZZ_CHECK(rounded == LLONG_MIN && integer == LLONG_MIN);
    }

    const long long b = roundHalfEven(divisor);
    const long long quotient = wholeDivide(value, divisor);
    const long long remainder = wholeRemainder(value, divisor);
    if (b == 0) {
        FUZZ_CHECK(quotient == 0 && remainder == rounded);
    } else if (!(rounded == LLONG_MIN && b == -1)) {
        FUZZ_CHECK(static_cast<__int128>(quotient) * b + remainder == rounded);
        FUZZ_CHECK(remainder == 0 || (remainder < 0) == (rounded < 0));
        FUZZ_CHECK(static_cast<__int128>(remainder < 0 ? -remainder : remainder) <
                   (b < 0 ? -static_cast<__int128>(b) : b));
    }
}

void checkText(const QString& text) {
    const double number = leadingNumber(text);
    FUZZ_CHECK(!std::isnan(number));
    // No number goes on into a letter x, so what follows one never changes it.
    FUZZ_CHECK(leadingNumber(text + QStringLiteral("x9")) == number);
    for (const char* pattern : patterns) {
        checkPattern(number, QLatin1String(pattern));
        const QString formatted = formatNumberText(text, QLatin1String(pattern));
        if (isNumberText(text))
            FUZZ_CHECK(formatted == formatNumber(number, QLatin1String(pattern)));
        else
            FUZZ_CHECK(formatted == text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const double value = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
    const double divisor = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
    for (const char* pattern : patterns)
        checkPattern(value, QLatin1String(pattern));
    checkPlainText(value);
    checkWholeNumbers(value, divisor);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    checkText(QString::fromLatin1(rest.data(), static_cast<qsizetype>(rest.size())));
    return 0;
}
