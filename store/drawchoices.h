#pragma once

#include "namebirths.h"

#include "core/ages.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace quillory {

class SettingsStore;

/**
 * How the window draws names beyond the designed choices, as the user set it in its menu and as the
 * settings keep it beside the designed keys: "CommonNames", "NoRepeats" and "KeepSpaces" ("True" or
 * "False"), "BornIn" (empty, or the years as typed: "2000-2009"), "PeopleOfToday" (empty, or the ages
 * of the people alive today as typed: "18-65", "0-110" for all) and "Seed" (empty, or the number).
 * With nothing set, which is how the program first starts, a run is the designed one.
 */
struct DrawChoices {
    bool commonNames = false;
    bool noRepeats = false;
    bool keepSpaces = false;
    /** The years of birth as typed; empty for any year. */
    QString bornIn;
    /** The ages of the people of today as typed; empty for people of any age, as the names' births have them. */
    QString peopleOfToday;
    /** The seed of every run; none for a new seed every run. */
    std::optional<std::uint64_t> seed;

    /** The years of `bornIn`, or none for any year (or a text that is no years). */
    std::optional<BirthYears> bornYears() const;
    /** The ages of `peopleOfToday`, or none for people of any age (or a text that is no ages). */
    std::optional<AgeRange> todayAges() const;
    /**
     * Whether a run is drawn through the draws quillory-cli makes (NameStream) rather than as
     * designed: with common names, years of birth, people of today, no repeats or a seed.
     * `userList`: the years of birth and the people of today do not apply to the User List.
     */
    bool drawsLikeTheCommandLine(bool userList) const;

    /** The choices stored, each read leniently: a value that makes no sense reads as unset. */
    static DrawChoices read(const SettingsStore& settings);
};

/** The settings keys of the choices. */
namespace drawkeys {
inline const QString kCommonNames = QStringLiteral("CommonNames");
inline const QString kNoRepeats = QStringLiteral("NoRepeats");
inline const QString kKeepSpaces = QStringLiteral("KeepSpaces");
inline const QString kBornIn = QStringLiteral("BornIn");
inline const QString kSeed = QStringLiteral("Seed");
inline const QString kPeopleOfToday = QStringLiteral("PeopleOfToday");
} // namespace drawkeys

} // namespace quillory
