// Stored truth values: any text is "True", "False", a number, or refused with "Type mismatch" only.
// The rule is judged by a statement of its own, not by the conversion the program uses.
#include "core/apperror.h"
#include "core/settings.h"
#include "fuzzcheck.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

using namespace quillory;

namespace {

// A number as the C locale writes it: an optional sign, ASCII digits (with "," between groups of
// three after the first group, or none), an optional fraction, an optional exponent.
const std::regex kNumber(R"(^[+-]?((\d{1,3}(,\d{3})+|\d+)(\.\d*)?|\.\d+)([eE][+-]?\d+)?$)");

// What a stored text means: true or false for the two words in any letter case, around which white
// space does not count; for a number, whether it is not zero; otherwise nothing. A number too large to
// hold, or too small to be told from zero while its digits are not all zero, is no number.
std::optional<bool> expectedTruth(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    for (const QChar c : trimmed)
        if (c.unicode() >= 0x80)
            return std::nullopt;
    const std::string ascii = trimmed.toStdString();
    if (!std::regex_match(ascii, kNumber))
        return std::nullopt;
    std::string plain;
    for (const char c : ascii)
        if (c != ',')
            plain += c;
    const double value = std::strtod(plain.c_str(), nullptr);
    const std::string mantissa = plain.substr(0, plain.find_first_of("eE"));
    const bool zeroDigits = mantissa.find_first_of("123456789") == std::string::npos;
    if (!std::isfinite(value) || (value == 0.0 && !zeroDigits))
        return std::nullopt;
    return value != 0.0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The user's locale is the C locale here, so the rule above is the whole rule.
    setenv("LC_ALL", "C", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::textOf(data, size);
    const std::optional<bool> expected = expectedTruth(text);
    try {
        const bool value = truthFromText(text);
        fuzz::check(expected.has_value(), "only a truth word or a number is accepted", text);
        fuzz::check(value == *expected, "a truth word means itself, 0 is false and any other number true", text);
    } catch (const AppError& e) {
        fuzz::check(!expected.has_value(), "a truth word or a number is accepted", text);
        fuzz::check(e.message() == QStringLiteral("Type mismatch"), "a refusal says \"Type mismatch\"", text);
    }
    for (const bool value : {false, true})
        fuzz::check(truthFromText(truthText(value)) == value, "a stored truth value reads back");
    return 0;
}
