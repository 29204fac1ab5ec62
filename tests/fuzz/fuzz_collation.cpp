// The name order the database sorts and matches with: on any bytes, valid UTF-8 or not, it is a total
// order, and letter case never counts.
#include "fuzzcheck.h"
#include "store/namecollation.h"

#include <algorithm>
#include <string_view>

using namespace quillory;

namespace {

int sign(int n) {
    return (n > 0) - (n < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Three names, separated by NUL bytes in the input.
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::string_view part[3];
    std::string_view rest = all;
    for (int k = 0; k < 3; ++k) {
        const size_t cut = k < 2 ? rest.find('\0') : std::string_view::npos;
        part[k] = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    const auto& [a, b, c] = part;
    const QString text = fuzz::textOf(data, size);

    fuzz::check(compareNames(a, a) == 0, "a name equals itself", text);
    const int ab = sign(compareNames(a, b));
    const int bc = sign(compareNames(b, c));
    const int ac = sign(compareNames(a, c));
    fuzz::check(ab == -sign(compareNames(b, a)), "the order is antisymmetric", text);
    if (ab <= 0 && bc <= 0)
        fuzz::check(ac <= 0 && (ac < 0 || (ab == 0 && bc == 0)), "the order is transitive", text);
    if (ab >= 0 && bc >= 0)
        fuzz::check(ac >= 0 && (ac > 0 || (ab == 0 && bc == 0)), "the order is transitive", text);

    // Letter case never counts, for names that are valid UTF-8, whose case forms are as long, and in
    // which only letters change case (a few combining marks have a capital letter as upper case).
    const QString qa = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    if (qa.toUtf8() == QByteArray(a.data(), static_cast<qsizetype>(a.size()))) {
        const QByteArray upper = qa.toUpper().toUtf8();
        const QByteArray lower = qa.toLower().toUtf8();
        const bool lettersOnlyChange = std::all_of(
            qa.begin(), qa.end(), [](QChar ch) { return ch.isLetter() || (ch.toUpper() == ch && ch.toLower() == ch); });
        if (qa.toUpper().size() == qa.size() && qa.toLower().size() == qa.size() && lettersOnlyChange &&
            fuzz::hasStableCase(qa))
            fuzz::check(compareNames(std::string_view(upper.constData(), size_t(upper.size())),
                                     std::string_view(lower.constData(), size_t(lower.size()))) == 0,
                        "letter case never counts", qa);
        fuzz::check(sign(compareNames(qa, fuzz::textOf(reinterpret_cast<const uint8_t*>(b.data()), b.size()))) == ab ||
                        QString::fromUtf8(b.data(), qsizetype(b.size())).toUtf8() !=
                            QByteArray(b.data(), qsizetype(b.size())),
                    "texts and their UTF-8 order alike", text);
    }
    return 0;
}
