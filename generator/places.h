#pragma once

#include "namedraws.h"

#include "core/random.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

/** Where the people of a run were born and live, and the numbers that go with a place. */
namespace quillory {

/** The files of the places, kept beside the program. */
inline const QString kCommunesFile = QStringLiteral("communes.tsv");
inline const QString kDepartmentsFile = QStringLiteral("departements.tsv");

/**
 * The communes of France (and the arrondissements of Paris, Marseille and Lyon) with a population,
 * as INSEE's official geographic code has them, and the départements with their telephone zones:
 * read from communes.tsv and departements.tsv, laid out as data/ has them. The texts are the files'
 * own bytes, read once.
 */
class Places {
public:
    struct Department {
        std::string_view code; // 01 … 95, 2A, 2B, 971 … 976
        char zone;             // '1' to '5': the first digits of a fixed line there are 0 and this
    };
    struct Commune {
        std::string_view code;      // five characters: 35238, 2A004, 97411
        std::string_view name;      // the official name: Rennes, Paris 11e Arrondissement
        std::string_view city;      // the name an address carries: Paris for an arrondissement
        std::string_view postcodes; // comma-separated, five digits each
        std::uint32_t population;
        std::uint16_t department; // its place in departments()
        std::uint8_t postcodeCount;
    };

    /** Reads both files; throws AppError naming the file (and the line) that is missing, empty or broken. */
    static std::shared_ptr<const Places> read(const QString& communesFile, const QString& departmentsFile);

    /** Every commune with people, in the order of the file. */
    const std::vector<Commune>& communes() const { return m_communes; }
    const Department& departmentOf(const Commune& commune) const { return m_departments[commune.department]; }
    const Department& department(std::size_t i) const { return m_departments[i]; }
    std::size_t departmentCount() const { return m_departments.size(); }
    /** The `n`th postcode of a commune (below postcodeCount). */
    static std::string_view postcode(const Commune& commune, unsigned n) { return commune.postcodes.substr(6 * n, 5); }

private:
    QByteArray m_communesText;
    QByteArray m_departmentsText;
    std::vector<Department> m_departments;
    std::vector<Commune> m_communes;
};

/** The generic street names built into the program (data/street_names.txt), one a line. */
const std::vector<std::string_view>& streetNames();

/** What is drawn of a person's places: indexes, and numbers to be written. */
struct PlaceOfPerson {
    std::uint32_t birth = 0;    // the commune of birth
    std::uint32_t home = 0;     // the commune lived in
    std::uint16_t postcode = 0; // which of the home's postcodes
    std::uint16_t street = 0;   // which street name
    std::uint16_t number = 0;   // the number in the street, from 1
    std::uint16_t order = 0;    // the social security number's order number, 1 to 999
    std::uint16_t phone = 0;    // the last four digits of the fixed line, 0 to 9999
    std::uint16_t mobile = 0;   // and of the mobile
};

/**
 * Draws the places of each person from the third sequence of the seed, eight numbers a person, in
 * this order, whether the fields use them or not:
 *
 * 1. the commune of birth, 2. the commune lived in: each an alias-table draw over the communes in
 *    file order, each weighing its population;
 * 3. the postcode: a number below the home's postcodes, in their order;
 * 4. the street: a number below the street names, in their order;
 * 5. the number in the street: an alias-table draw over 1 to kHighestNumber, n weighing ⌊2^32 / n⌋;
 * 6. the order number: 1 + a number below 999;
 * 7. the fixed line's last four digits, 8. the mobile's: each a number below 10,000.
 */
class PlaceDraw {
public:
    static constexpr int kHighestNumber = 200;

    explicit PlaceDraw(std::shared_ptr<const Places> places);

    PlaceOfPerson draw(RandomSource& sequence) const {
        Numbers x;
        take(sequence, x);
        return placeOf(x);
    }

    /** The eight numbers of a person, taken first so that what they draw from can be fetched meanwhile. */
    using Numbers = std::array<std::uint64_t, 8>;
    static void take(RandomSource& sequence, Numbers& x) {
        for (std::uint64_t& number : x)
            number = sequence.nextBits();
    }
    void prefetch(const Numbers& x) const {
        m_communes.prefetch(x[0]);
        m_communes.prefetch(x[1]);
    }
    PlaceOfPerson placeOf(const Numbers& x) const;
    /** The same eight numbers taken without places: only the numbers that need none (the mobile's) are given. */
    static PlaceOfPerson drawWithoutPlaces(RandomSource& sequence);
    static PlaceOfPerson withoutPlaces(const Numbers& x);
    const Places& places() const { return *m_places; }

private:
    std::shared_ptr<const Places> m_places;
    AliasTable m_communes;
    AliasTable m_numbers;
};

} // namespace quillory
