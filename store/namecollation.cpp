#include "namecollation.h"

#include <QChar>
#include <QList>
#include <QString>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillory {

namespace {

// One position of a name as the order sees it: the letter without accent or case (primary), and
// its accents (secondary), which only count between names whose letters are all equal.
struct Unit {
    char32_t primary;
    std::uint32_t secondary;
};

// What one code point contributes: one or two letters (a ligature reads as two), or, for a
// combining accent, only a secondary weight for the letter before it.
struct Element {
    char32_t first = 0;
    char32_t second = 0;
    std::uint32_t secondary = 0;
    bool isMark = false;
};

constexpr std::uint32_t kStrokeOrLigature = 15;
// The typographic apostrophes read as the apostrophe, and come after it among names otherwise equal.
constexpr std::uint32_t kApostropheVariant = 16;

// Accents in the order of a French dictionary: é, è, ê, ë, and ç after them.
std::uint32_t accentRank(char32_t mark) {
    switch (mark) {
    case 0x301:
        return 1; // acute
    case 0x300:
        return 2; // grave
    case 0x306:
        return 3; // breve
    case 0x302:
        return 4; // circumflex
    case 0x30C:
        return 5; // caron
    case 0x30A:
        return 6; // ring
    case 0x308:
        return 7; // diaeresis
    case 0x30B:
        return 8; // double acute
    case 0x303:
        return 9; // tilde
    case 0x307:
        return 10; // dot above
    case 0x327:
        return 11; // cedilla
    case 0x328:
        return 12; // ogonek
    case 0x304:
        return 13; // macron
    default:
        return 14;
    }
}

// Several accents on one letter weigh as their ranks in sequence; the weight saturates rather than wraps.
std::uint32_t addAccent(std::uint32_t secondary, std::uint32_t rank) {
    return secondary >= (UINT32_MAX >> 4) ? secondary : secondary * 16 + rank;
}

bool isMark(char32_t cp) {
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

Element computeElement(char32_t cp) {
    if (cp < 0x80)
        return {cp >= 'A' && cp <= 'Z' ? cp + 32 : cp, 0, 0, false};
    if (cp >= 0xDC80 && cp <= 0xDCFF) // a byte that was not valid UTF-8
        return {cp, 0, 0, false};
    if (isMark(cp))
        return {0, 0, accentRank(cp), true};
    if (cp == 0x2019 || cp == 0x2BC) // ’ and ʼ
        return {'\'', 0, kApostropheVariant, false};

    const char32_t folded = QChar::toCaseFolded(cp);
    switch (folded) {
    case 0xE6:
        return {'a', 'e', kStrokeOrLigature, false}; // æ
    case 0x153:
        return {'o', 'e', kStrokeOrLigature, false}; // œ
    case 0xDF:
        return {'s', 's', kStrokeOrLigature, false}; // ß
    case 0xF8:
        return {'o', 0, kStrokeOrLigature, false}; // ø
    case 0x111:
        return {'d', 0, kStrokeOrLigature, false}; // đ
    case 0x127:
        return {'h', 0, kStrokeOrLigature, false}; // ħ
    case 0x142:
        return {'l', 0, kStrokeOrLigature, false}; // ł
    default:
        break;
    }

    // The canonical decomposition, applied until it stops, gives the base letter and its accents.
    Element element{folded, 0, 0, false};
    std::vector<char32_t> marks;
    char32_t base = folded;
    while (QChar::decompositionTag(base) == QChar::Canonical) {
        const QList<uint> parts = QChar::decomposition(base).toUcs4();
        if (parts.isEmpty())
            break;
        marks.insert(marks.begin(), parts.begin() + 1, parts.end());
        base = parts.front();
    }
    element.first = base < 0x80 && base >= 'A' && base <= 'Z' ? base + 32 : base;
    for (const char32_t mark : marks)
        element.secondary = addAccent(element.secondary, accentRank(mark));
    return element;
}

// Latin letters, the ones names use, are looked up; everything else is worked out when met.
constexpr char32_t kTableSize = 0x250;

const Element& tableElement(char32_t cp) {
    static const std::array<Element, kTableSize> table = [] {
        std::array<Element, kTableSize> built{};
        for (char32_t c = 0; c < kTableSize; ++c)
            built[c] = computeElement(c);
        return built;
    }();
    return table[cp];
}

Element elementOf(char32_t cp) {
    return cp < kTableSize ? tableElement(cp) : computeElement(cp);
}

// Decodes one code point at `i` and moves past it. A byte that does not start a valid sequence stands
// for itself as U+DC80 to U+DCFF, so any bytes have a place in the order.
char32_t decodeAt(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const auto invalid = [&] {
        ++i;
        return static_cast<char32_t>(0xDC00 + lead);
    };
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return invalid();
    }
    if (i + length > text.size())
        return invalid();
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80)
            return invalid();
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return invalid();
    i += length;
    return cp;
}

// Unit storage that stays on the stack for any name of ordinary length.
class UnitBuffer {
public:
    void push(Unit unit) {
        if (m_size < kInline) {
            m_inline[m_size] = unit;
        } else {
            if (m_size == kInline)
                m_heap.assign(m_inline.begin(), m_inline.end());
            m_heap.push_back(unit);
        }
        ++m_size;
    }
    Unit& back() { return data()[m_size - 1]; }
    const Unit* data() const { return m_size <= kInline ? m_inline.data() : m_heap.data(); }
    Unit* data() { return m_size <= kInline ? m_inline.data() : m_heap.data(); }
    std::size_t size() const { return m_size; }

private:
    static constexpr std::size_t kInline = 64;
    std::array<Unit, kInline> m_inline;
    std::vector<Unit> m_heap;
    std::size_t m_size = 0;
};

void appendUnits(std::string_view text, UnitBuffer& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        const Element element = elementOf(decodeAt(text, i));
        if (element.isMark) {
            if (out.size() > 0)
                out.back().secondary = addAccent(out.back().secondary, element.secondary);
            else
                out.push({0, element.secondary});
            continue;
        }
        out.push({element.first, element.secondary});
        if (element.second != 0)
            out.push({element.second, element.secondary});
    }
}

// The two levels of a comparison: letters first; accents only decide between equal letters.
struct Comparison {
    int primary = 0;
    int secondary = 0;
};

Comparison compareUnits(std::string_view a, std::string_view b) {
    UnitBuffer ua;
    UnitBuffer ub;
    appendUnits(a, ua);
    appendUnits(b, ub);
    Comparison result;
    const std::size_t common = std::min(ua.size(), ub.size());
    for (std::size_t k = 0; k < common; ++k) {
        const Unit& x = ua.data()[k];
        const Unit& y = ub.data()[k];
        if (x.primary != y.primary)
            return {x.primary < y.primary ? -1 : 1, 0};
        if (result.secondary == 0 && x.secondary != y.secondary)
            result.secondary = x.secondary < y.secondary ? -1 : 1;
    }
    if (ua.size() != ub.size())
        return {ua.size() < ub.size() ? -1 : 1, 0};
    return result;
}

inline char32_t foldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// Eight ASCII bytes at once, capitals made small: each byte from 'A' to 'Z' gains 0x20. Bytes below
// 0x80 never carry into their neighbour in the two sums.
constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

inline std::uint64_t foldAsciiWord(std::uint64_t word) {
    const std::uint64_t fromA = word + kEveryByte * (0x80 - 'A');
    const std::uint64_t pastZ = word + kEveryByte * (0x80 - 'Z' - 1);
    return word | (((fromA & ~pastZ) & kHighBits) >> 2);
}

} // namespace

int compareNames(std::string_view a, std::string_view b) {
    // Names are compared letter by letter while each character is one letter in both (ASCII, or an
    // accented Latin letter), noting the first accent difference on the way. Ligatures, combining
    // accents and unusual characters hand over to the full comparison of the rest.
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t unitStartA = 0; // where the latest letter began in a and b
    std::size_t unitStartB = 0;
    std::size_t units = 0;
    int accents = 0; // the first accent difference, at letter `accentsUnit`
    std::size_t accentsUnit = 0;
    while (i < a.size() && j < b.size()) {
        if constexpr (std::endian::native == std::endian::little) {
            // Long stretches of ASCII, eight letters a step.
            std::uint64_t wordA = 0;
            std::uint64_t wordB = 0;
            if (i + 8 <= a.size() && j + 8 <= b.size()) {
                std::memcpy(&wordA, a.data() + i, 8);
                std::memcpy(&wordB, b.data() + j, 8);
                if (((wordA | wordB) & kHighBits) == 0) {
                    const std::uint64_t foldedA = foldAsciiWord(wordA);
                    const std::uint64_t foldedB = foldAsciiWord(wordB);
                    if (foldedA != foldedB) {
                        const int shift = std::countr_zero(foldedA ^ foldedB) & ~7; // the first differing byte
                        return ((foldedA >> shift) & 0xFF) < ((foldedB >> shift) & 0xFF) ? -1 : 1;
                    }
                    unitStartA = i + 7;
                    unitStartB = j + 7;
                    i += 8;
                    j += 8;
                    units += 8;
                    continue;
                }
            }
        }
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            const char32_t fa = foldAscii(ca);
            const char32_t fb = foldAscii(cb);
            if (fa != fb)
                return fa < fb ? -1 : 1;
            unitStartA = i++;
            unitStartB = j++;
            ++units;
            continue;
        }
        std::size_t nextA = i;
        std::size_t nextB = j;
        const Element ea = elementOf(decodeAt(a, nextA));
        const Element eb = elementOf(decodeAt(b, nextB));
        if (ea.isMark || eb.isMark || ea.second != 0 || eb.second != 0)
            break;
        if (ea.first != eb.first)
            return ea.first < eb.first ? -1 : 1;
        if (accents == 0 && ea.secondary != eb.secondary) {
            accents = ea.secondary < eb.secondary ? -1 : 1;
            accentsUnit = units;
        }
        unitStartA = i;
        unitStartB = j;
        i = nextA;
        j = nextB;
        ++units;
    }
    if (i == a.size() && j == b.size())
        return accents;
    if (i == a.size() || j == b.size()) {
        // A further letter in the longer name puts the shorter first; a combining accent does not.
        const std::string_view longer = i == a.size() ? b : a;
        std::size_t next = i == a.size() ? j : i;
        if (!elementOf(decodeAt(longer, next)).isMark)
            return i == a.size() ? -1 : 1;
    }
    // The rest is compared in full from the latest letter on, since a combining accent belongs to the
    // letter before it. An accent difference before that letter still comes first.
    const bool backUp = units > 0;
    const std::size_t fromUnit = backUp ? units - 1 : 0;
    const Comparison rest = compareUnits(a.substr(backUp ? unitStartA : i), b.substr(backUp ? unitStartB : j));
    if (rest.primary != 0)
        return rest.primary;
    if (accents != 0 && accentsUnit < fromUnit)
        return accents;
    return rest.secondary;
}

int compareNames(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareNames(std::string_view(ua.constData(), ua.size()), std::string_view(ub.constData(), ub.size()));
}

} // namespace quillory
