#pragma once

#include <QString>

#include <variant>

namespace quillory {

/** The oldest age a person of today is given. */
inline constexpr int kOldestAge = 110;

/** Ages in completed years, both ends included. */
struct AgeRange {
    int youngest = 0;
    int oldest = kOldestAge;
};

/** Why a text gives no ages. */
enum class AgesProblem { NotAges, OutOfRange, Backwards };

/** The ages as typed: one age (30) or a range (18-65, an en dash allowed), 0 to kOldestAge; otherwise why not. */
std::variant<AgeRange, AgesProblem> agesFrom(const QString& text);

/** The ages as shown: "30", or "18–65" with an en dash. */
QString agesText(AgeRange ages);

} // namespace quillory
