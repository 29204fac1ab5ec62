#include "drawsession.h"

#include "fieldsoutput.h"
#include "nameoutput.h"

#include "core/apperror.h"
#include "generator/namedraws.h"
#include "generator/today.h"

#include <algorithm>

namespace quillory::cli {

namespace {

// Bytes kept in memory rather than written anywhere.
class MemorySink final : public ByteSink {
public:
    QByteArray take() {
        flush();
        return std::exchange(m_bytes, {});
    }

private:
    void writeOut(const char* data, qsizetype size) override { m_bytes.append(data, size); }
    QByteArray m_bytes;
};

// How many records are drawn between two calls of the check.
constexpr std::int64_t kBetweenChecks = 1 << 14;

} // namespace

// The names of the seed, one after another: quillory-cli's streams, with their sequences.
class DrawSession::Stream {
public:
    Stream(const Options& options, const RunPools& pools, std::uint64_t seed)
        : m_random(seed), m_peoples(RandomSource::second(seed)) {
        if (!pools.today) {
            m_names.emplace(pools.first, pools.last, DrawRules{options.part, options.weighted, options.unique},
                            m_random, pools.repeats);
            m_distinct = m_names->distinctNames();
            return;
        }
        if (options.unique) {
            RandomSource unused(seed);
            m_distinct =
                NameStream(pools.first, pools.last, {options.part, false, true}, unused, pools.repeats).distinctNames();
        }
        m_today.emplace(*pools.today, pools.periodNames.get(), static_cast<std::uint32_t>(pools.first.texts.size()),
                        pools.last, options.part, m_random, m_peoples);
        if (options.unique)
            m_today->makeUnique(pools.repeats);
    }

    // `count` more names will be asked for, `taken` having been given: a unique stream must have them.
    void expect(std::int64_t taken, std::int64_t count, bool unique) {
        if (!unique || count == 0)
            return;
        if (static_cast<std::uint64_t>(taken + count) > m_distinct)
            throw tooFewNames(m_distinct, taken + count);
        if (m_names)
            m_names->expectMore(static_cast<std::uint64_t>(count));
    }

    // Starts the sequences anew from `seed`: the streams keep them by reference.
    void reseed(std::uint64_t seed) {
        m_random = RandomSource(seed);
        m_peoples = RandomSource::second(seed);
    }

    DrawnName next() {
        if (m_names)
            return m_names->next();
        try {
            return m_today->next();
        } catch (const TodayNames::Exhausted& exhausted) {
            throw noNewName(exhausted);
        }
    }

private:
    RandomSource m_random;
    RandomSource m_peoples;
    std::optional<NameStream> m_names;
    std::optional<TodayNames> m_today;
    std::uint64_t m_distinct = 0;
};

// The values of the writer kept across parts, handed to the reader of each part.
class DrawSession::Forward final : public RecordValues {
public:
    RecordValues* to = nullptr;
    void text(std::size_t column, QByteArrayView bytes, std::uint64_t identity) override {
        to->text(column, bytes, identity);
    }
    void number(std::size_t column, int value) override { to->number(column, value); }
    void missing(std::size_t column) override { to->missing(column); }
    void endRecord() override { to->endRecord(); }
};

DrawSession::DrawSession(const Options& options, Environment environment, std::uint64_t seed,
                         std::function<void()> check)
    : m_options(options), m_environment(std::move(environment)), m_seed(seed), m_check(std::move(check)),
      m_pools(loadPools(m_options, m_environment, true)), m_forward(std::make_unique<Forward>()) {
    m_stream = std::make_unique<Stream>(m_options, m_pools, m_seed);
}

DrawSession::~DrawSession() = default;

template <typename Each> void DrawSession::take(std::int64_t count, Each&& each) {
    if (count < 0)
        throw Failure{kUsage, QStringLiteral("a count of %1: the count is a whole number from 0").arg(count)};
    m_stream->expect(m_taken, count, m_options.unique);
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t until = std::min(count, done + kBetweenChecks);
        for (; done < until; ++done) {
            each(m_stream->next());
            ++m_taken;
        }
        if (m_check && done < count)
            m_check();
    }
}

QByteArray DrawSession::names(std::int64_t count) {
    try {
        auto sink = std::make_unique<MemorySink>();
        MemorySink& memory = *sink;
        Options text = m_options;
        text.format = Format::Text;
        text.crlf = false;
        text.fields.clear();
        LineWriter writer(text, m_pools.first, m_pools.last, std::move(sink));
        take(count, [&](DrawnName name) { writer.write(name); });
        return memory.take();
    } catch (const AppError& error) {
        throw Failure{kRunFailure, error.message()};
    }
}

void DrawSession::people(std::int64_t count, const std::vector<Field>& fields, RecordValues& values) {
    if (const std::optional<QString> problem = fieldsProblem(fields, m_options.part))
        throw Failure{kUsage, *problem};
    try {
        if (!m_writer || fields != m_writerFields) {
            m_writer.reset();
            Options asked = m_options;
            asked.fields = fields;
            if (needsPlaces(fields) && !m_pools.places)
                m_pools.places = loadPlaces(m_environment);
            PeopleRecords records = peopleRecordsOf(asked, m_pools.places, m_seed);
            records.format = RecordFormat::Values;
            records.values = m_forward.get();
            m_writer = makeFieldsWriter(records, asked, m_pools.first, m_pools.last, m_pools.people, nullptr);
            m_writerFields = fields;
            m_writerAt = 0;
        }
        m_forward->to = &values;
        if (m_writerAt < m_taken)
            m_writer->skip(static_cast<std::uint64_t>(m_taken - m_writerAt));
        m_writerAt = m_taken;
        try {
            take(count, [&](DrawnName name) { m_writer->write(name); });
            m_writer->flush();
        } catch (...) {
            // A part cut short leaves the writer behind the stream: the next part starts a new one.
            m_writer.reset();
            throw;
        }
        m_writerAt = m_taken;
    } catch (const AppError& error) {
        throw Failure{kRunFailure, error.message()};
    }
}

QByteArray DrawSession::nameOfSeed(std::uint64_t seed) {
    if (m_options.unique)
        throw Failure{kUsage, QStringLiteral("--unique: a name drawn from a seed of its own is never unique")};
    m_stream->reseed(seed);
    m_seed = seed;
    m_taken = 0;
    m_writer.reset();
    const DrawnName name = m_stream->next();
    m_taken = 1;
    QByteArray line;
    if (m_options.part != NamePart::LastOnly)
        line.append(m_pools.first.texts.bytes(name.first));
    if (m_options.part == NamePart::FirstAndLast)
        line.append(' ');
    if (m_options.part != NamePart::FirstOnly)
        line.append(m_pools.last.texts.bytes(name.last));
    return line;
}

void DrawSession::personOfSeed(std::uint64_t seed, const std::vector<Field>& fields, RecordValues& values) {
    if (m_options.unique)
        throw Failure{kUsage, QStringLiteral("--unique: a person drawn from a seed of its own is never unique")};
    m_stream->reseed(seed);
    m_seed = seed;
    m_taken = 0;
    m_writer.reset();
    people(1, fields, values);
}

std::vector<Field> DrawSession::fieldsNamed(const QStringList& names) {
    const Request request = parseArguments({kProgramName, QStringLiteral("--format"), QStringLiteral("csv"),
                                            QStringLiteral("--fields"), names.join(QLatin1Char(','))});
    if (request.kind != Request::Kind::Run)
        throw Failure{kUsage, request.text};
    return request.options.fields;
}

} // namespace quillory::cli
