// The name-text procedures: path folding, space removal, proper case and the typed-name rule, on any
// text.
#include "core/procedures.h"
#include "fuzzcheck.h"
#include "store/namedatabase.h"
#include "store/nameentry.h"

#include <algorithm>

using namespace quillory;

namespace {

void checkFixBackslashes(const QString& path) {
    // Written independently: a leading run of backslashes becomes exactly two (a network path), and
    // every later run of n backslashes keeps n - n/2 of them, its pairs folded.
    QString expected;
    qsizetype i = 0;
    if (path.startsWith(u'\\')) {
        expected = QStringLiteral("\\\\");
        while (i < path.size() && path[i] == u'\\')
            ++i;
    }
    while (i < path.size()) {
        qsizetype run = 0;
        while (i + run < path.size() && path[i + run] == u'\\')
            ++run;
        if (run > 0) {
            expected += QString(run - run / 2, u'\\');
            i += run;
        } else {
            expected += path[i++];
        }
    }
    fuzz::check(FixBackslashes(path) == expected, "each pair of backslashes becomes one", path);
}

void checkProperCase(const QString& text) {
    const QString proper = ProperCase(text);
    fuzz::check(proper.size() == text.size(), "proper case keeps the length", text);
    fuzz::check(ProperCase(proper) == proper, "proper case of a proper-cased text changes nothing", text);
    // Where whole-text case mappings keep the length and every character's case is stable, the
    // letter case typed makes no difference.
    const QString upper = text.toUpper();
    const QString lower = text.toLower();
    // (Georgian, for one, title-cases a letter to itself but upper-cases it to another.)
    const auto titleIsUpper = [](const QString& s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c.toTitleCase() == c.toUpper(); });
    };
    if (upper.size() == text.size() && lower.size() == text.size() && fuzz::hasStableCase(text) &&
        titleIsUpper(upper) && titleIsUpper(lower))
        fuzz::check(ProperCase(upper) == ProperCase(lower), "proper case does not depend on the letter case typed",
                    text);
    fuzz::check(!fuzz::hasLoneSurrogate(proper) || fuzz::hasLoneSurrogate(text), "proper case never splits a character",
                text);
}

void checkRemoveSpaces(const QString& text) {
    const QString removed = RemoveSpaces(text);
    fuzz::check(!removed.contains(u' '), "no space is left", text);
    fuzz::check(removed.size() == text.size() - text.count(u' '), "only spaces are removed", text);
}

void checkEntry(const QString& typed) {
    const std::optional<QString> name = nameFromEntry(typed);
    QString bare = typed;
    bare.remove(u'\'');
    if (!name) {
        fuzz::check(bare.trimmed().isEmpty() && bare.count(u' ') == bare.size(), "only an entry of spaces is refused",
                    typed);
        return;
    }
    fuzz::check(!name->contains(u'\''), "a typed name keeps no apostrophe", typed);
    fuzz::check(fuzz::characterCount(*name) <= kMaxNameLength, "a typed name has at most 50 characters", typed);
    fuzz::check(bare.startsWith(*name), "a typed name is the entry's beginning", typed);
    fuzz::check(!fuzz::hasLoneSurrogate(*name) || fuzz::hasLoneSurrogate(bare),
                "a typed name is never cut in a character", typed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::textOf(data, size);
    // Raw UTF-16 too, so that lone and paired surrogates reach the procedures as they are.
    const QString raw = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), static_cast<qsizetype>(size / 2));
    for (const QString& input : {text, raw}) {
        checkFixBackslashes(input);
        checkProperCase(input);
        checkRemoveSpaces(input);
        checkEntry(input);
    }
    return 0;
}
