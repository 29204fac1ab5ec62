// The command line: any argument bytes (arguments split at NUL bytes, each read as the program reads
// its own) give a run to make, a text to print, or one usage line, never a crash; and a count given
// in any of the spellings people use (--count 5, --count=5, --cou 5, -n5, -vn5) is the same request.
#include "fuzzcheck.h"

#include "cli/options.h"
#include "core/nativepath.h"

#include <cstring>

using namespace quillory;

namespace {

cli::Request parsed(const QStringList& words) {
    return cli::parseArguments(QStringList{cli::kProgramName} + words);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList words;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (qsizetype from = 0; from <= bytes.size();) {
        qsizetype end = bytes.indexOf('\0', from);
        if (end < 0)
            end = bytes.size();
        words << decodePath(bytes.sliced(from, end - from));
        from = end + 1;
    }
    const cli::Request request = parsed(words);
    const QString shown = words.join(u' ');
    switch (request.kind) {
    case cli::Request::Kind::UsageError:
        fuzz::check(!request.text.isEmpty() && !request.text.contains(u'\n'), "a usage error is one line", shown);
        break;
    case cli::Request::Kind::Help:
    case cli::Request::Kind::Version:
        fuzz::check(!request.text.isEmpty(), "help and version have a text", shown);
        break;
    case cli::Request::Kind::Run:
        fuzz::check(request.options.count >= 0, "a run's count is never negative", shown);
        fuzz::check(request.options.format != cli::Format::Xlsx || request.options.count <= cli::kMaxSheetRows,
                    "a workbook never holds more rows than a sheet", shown);
        break;
    }

    // Acceptance: the spellings of one count are one request.
    if (size >= 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data, 4);
        const QString n = QString::number(bits % 2'147'483'648u);
        const QList<QStringList> spellings = {{"--count", n}, {"--count=" + n}, {"--cou", n},
                                              {"-n" + n},     {"-n", n},        {"--coun=" + n}};
        for (const QStringList& spelling : spellings) {
            const cli::Request one = parsed(spelling);
            fuzz::check(one.kind == cli::Request::Kind::Run && one.options.count == n.toLongLong(),
                        "every spelling of a count asks for that count", spelling.join(u' '));
        }
        const cli::Request grouped = parsed({"-vn" + n});
        fuzz::check(grouped.kind == cli::Request::Kind::Run && grouped.options.verbose &&
                        grouped.options.count == n.toLongLong(),
                    "grouped short options take their value", n);
    }
    return 0;
}
