// births.tsv: any bytes are either birth counts that answer for every name, or one line that names
// the file and says what is wrong; never a crash, never a wait.
#include "fuzzcheck.h"

#include "core/apperror.h"
#include "store/namebirths.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

using namespace quillory;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString file = QDir::temp().filePath(QStringLiteral("fuzz-births-%1.tsv").arg(::getpid()));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::fail("the births file can be written", file);
        out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QString text = fuzz::textOf(data, size);
    try {
        const BirthCounts births = BirthCounts::read(file);
        for (const BirthList list : {BirthList::Female, BirthList::Male, BirthList::Last}) {
            fuzz::check(births.least(list) <= (std::uint64_t{1} << 62), "a list's births are at most 2^62", text);
            for (const char* name : {"Anne", "Martin", "", "LE FLOCH"})
                fuzz::check(births.count(list, QString::fromUtf8(name)) <= (std::uint64_t{1} << 62),
                            "a name's births are at most 2^62", text);
        }
        fuzz::check(births.firstNameCount(QStringLiteral("Camille")) < (std::uint64_t{1} << 63),
                    "both first-name lists together stay below 2^63", text);
    } catch (const AppError& error) {
        const QString message = error.message();
        fuzz::check(message.startsWith(file) && !message.contains(u'\n'), "a failure is one line naming the file",
                    text + QStringLiteral(" -> ") + message);
    }
    return 0;
}
