// Stored truth values: any text is "True", "False", a number, or refused with "Type mismatch" only.
#include "core/apperror.h"
#include "core/settings.h"
#include "fuzzcheck.h"

#include <QLocale>

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::textOf(data, size);
    try {
        const bool value = truthFromText(text);
        const QString word = text.trimmed().toLower();
        // A number as the program's own "C" rules read it, or else the user's locale.
        bool number = false;
        double n = QLocale::c().toDouble(text.trimmed(), &number);
        if (!number)
            n = QLocale::system().toDouble(text.trimmed(), &number);
        fuzz::check(word == u"true" || word == u"false" || number, "only a truth word or a number is accepted", text);
        if (word == u"true" || word == u"false")
            fuzz::check(value == (word == u"true"), "a truth word means itself", text);
        else
            fuzz::check(value == (n != 0), "0 is false and any other number true", text);
    } catch (const AppError& e) {
        fuzz::check(e.message() == QStringLiteral("Type mismatch"), "a refusal says \"Type mismatch\"", text);
    }
    for (const bool value : {false, true})
        fuzz::check(truthFromText(truthText(value)) == value, "a stored truth value reads back");
    return 0;
}
