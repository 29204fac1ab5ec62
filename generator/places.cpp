#include "places.h"

#include "core/apperror.h"
#include "splittext.h"

#include <QFile>

#include <charconv>
#include <limits>

namespace quillory {

namespace street_data {
extern const char kStreetNames[];
} // namespace street_data

namespace {

// The tab-separated fields of a line, at most N; how many there are (N + 1 when more).
template <std::size_t N> std::size_t fieldsOf(std::string_view line, std::array<std::string_view, N>& fields) {
    std::size_t count = 0;
    for (std::size_t at = 0;;) {
        const std::size_t end = line.find('\t', at);
        if (count == N)
            return N + 1;
        fields[count++] = line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (end == std::string_view::npos)
            return count;
        at = end + 1;
    }
}

bool digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A whole file, or AppError naming it: missing, unreadable or empty.
QByteArray wholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (text.isEmpty())
        throw AppError(QStringLiteral("%1: empty").arg(path));
    return text;
}

// The lines of a table after its header, which must be `header`; AppError naming the file otherwise.
std::vector<std::string_view> rows(const QByteArray& text, const QString& path, std::string_view header) {
    std::vector<std::string_view> lines = splitText(std::string_view(text.constData(), text.size()), '\n');
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.empty() || lines.front() != header)
        throw AppError(
            QStringLiteral("%1:1: not a table of places (the header should be %2)")
                .arg(path,
                     QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size())).replace(u'\t', u' ')));
    lines.erase(lines.begin());
    return lines;
}

[[noreturn]] void badRow(const QString& path, std::size_t row, const char* what) {
    throw AppError(QStringLiteral("%1:%2: %3").arg(path).arg(row + 2).arg(QString::fromUtf8(what)));
}

} // namespace

std::shared_ptr<const Places> Places::read(const QString& communesFile, const QString& departmentsFile) {
    auto places = std::make_shared<Places>();
    places->m_departmentsText = wholeFile(departmentsFile);
    places->m_communesText = wholeFile(communesFile);

    const std::vector<std::string_view> departments =
        rows(places->m_departmentsText, departmentsFile, "code\tname\tregion\tphone_zone");
    for (std::size_t row = 0; row < departments.size(); ++row) {
        std::array<std::string_view, 4> fields;
        if (fieldsOf(departments[row], fields) != 4 || fields[0].size() < 2 || fields[0].size() > 3)
            badRow(departmentsFile, row, "not a département (code, name, region, telephone zone)");
        if (fields[3].size() != 2 || fields[3][0] != '0' || fields[3][1] < '1' || fields[3][1] > '5')
            badRow(departmentsFile, row, "the telephone zone is none of 01 to 05");
        places->m_departments.push_back({fields[0], fields[3][1]});
    }

    const std::vector<std::string_view> communes =
        rows(places->m_communesText, communesFile,
             "code\tkind\tname\tcity\tdepartment\tregion\tpopulation\tcensus\tpostcodes");
    std::uint64_t everybody = 0;
    std::size_t department = 0;
    for (std::size_t row = 0; row < communes.size(); ++row) {
        std::array<std::string_view, 9> fields;
        if (fieldsOf(communes[row], fields) != 9 || fields[0].size() != 5 || fields[2].empty() || fields[3].empty())
            badRow(communesFile, row,
                   "not a commune (code, kind, name, city, département, region, population, "
                   "census, postcodes)");
        // The cities of arrondissements have their people in their arrondissements.
        if (fields[6].empty())
            continue;
        std::uint32_t population = 0;
        if (!digits(fields[6]) ||
            std::from_chars(fields[6].data(), fields[6].data() + fields[6].size(), population).ec != std::errc())
            badRow(communesFile, row, "the population is no whole number");
        const std::string_view postcodes = fields[8];
        const std::size_t count = (postcodes.size() + 1) / 6;
        bool wellFormed = count >= 1 && count <= 255 && postcodes.size() == count * 6 - 1;
        for (std::size_t n = 0; wellFormed && n < count; ++n)
            wellFormed = digits(postcodes.substr(6 * n, 5)) && (n + 1 == count || postcodes[6 * n + 5] == ',');
        if (!wellFormed)
            badRow(communesFile, row, "the postcodes are not five digits each, separated by commas");
        // The communes come département by département: the one before is nearly always the one.
        if (department >= places->m_departments.size() || places->m_departments[department].code != fields[4]) {
            department = 0;
            while (department < places->m_departments.size() && places->m_departments[department].code != fields[4])
                ++department;
        }
        if (department == places->m_departments.size() || !fields[0].starts_with(fields[4].substr(0, 2)))
            badRow(communesFile, row, "the département is not one of departements.tsv, or not the code's");
        // A commune nobody lives in (a village destroyed in 1916, kept in memory) is nobody's place.
        if (population == 0)
            continue;
        everybody += population;
        places->m_communes.push_back({fields[0], fields[2], fields[3], postcodes, population,
                                      static_cast<std::uint16_t>(department), static_cast<std::uint8_t>(count)});
    }
    if (places->m_communes.empty() || everybody >= std::numeric_limits<std::uint32_t>::max())
        throw AppError(QStringLiteral("%1: no commune with people, or more people than France has").arg(communesFile));
    return places;
}

const std::vector<std::string_view>& streetNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> lines = splitText(street_data::kStreetNames, '\n');
        std::erase_if(lines, [](std::string_view line) { return line.empty(); });
        return lines;
    }();
    return names;
}

namespace {

std::vector<std::uint64_t> populations(const Places& places) {
    std::vector<std::uint64_t> weights;
    weights.reserve(places.communes().size());
    for (const Places::Commune& commune : places.communes())
        weights.push_back(commune.population);
    return weights;
}

// Small numbers more often: n weighs ⌊2^32 / n⌋, as door numbers run in most streets.
std::vector<std::uint64_t> numberWeights() {
    std::vector<std::uint64_t> weights;
    for (std::uint64_t n = 1; n <= PlaceDraw::kHighestNumber; ++n)
        weights.push_back((std::uint64_t{1} << 32) / n);
    return weights;
}

} // namespace

PlaceDraw::PlaceDraw(std::shared_ptr<const Places> places)
    : m_places(std::move(places)), m_communes(populations(*m_places)), m_numbers(numberWeights()) {}

PlaceOfPerson PlaceDraw::drawWithoutPlaces(RandomSource& sequence) {
    Numbers x;
    take(sequence, x);
    return withoutPlaces(x);
}

PlaceOfPerson PlaceDraw::withoutPlaces(const Numbers& x) {
    PlaceOfPerson place;
    place.mobile = static_cast<std::uint16_t>(numberBelow(x[7], 10'000));
    return place;
}

PlaceOfPerson PlaceDraw::placeOf(const Numbers& x) const {
    PlaceOfPerson place;
    place.birth = m_communes.drawWith(x[0]);
    place.home = m_communes.drawWith(x[1]);
    place.postcode = static_cast<std::uint16_t>(numberBelow(x[2], m_places->communes()[place.home].postcodeCount));
    place.street = static_cast<std::uint16_t>(numberBelow(x[3], streetNames().size()));
    place.number = static_cast<std::uint16_t>(m_numbers.drawWith(x[4]) + 1);
    place.order = static_cast<std::uint16_t>(numberBelow(x[5], 999) + 1);
    place.phone = static_cast<std::uint16_t>(numberBelow(x[6], 10'000));
    place.mobile = static_cast<std::uint16_t>(numberBelow(x[7], 10'000));
    return place;
}

} // namespace quillory
