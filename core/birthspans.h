#pragma once

#include <cstdint>
#include <vector>

namespace quillory {

/** Children of one sex given a first name in a period of years (both ends included). */
struct BirthSpan {
    int fromYear;
    int toYear;
    std::uint64_t births;
};

/** A first name's births, by sex, each in order of its first year; both empty for a name without births. */
struct NameBirthSpans {
    std::vector<BirthSpan> female;
    std::vector<BirthSpan> male;
};

} // namespace quillory
