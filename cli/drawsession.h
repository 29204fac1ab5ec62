#pragma once

#include "clirun.h"
#include "options.h"

#include "results/core/peoplewriter.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/** quillory-cli's draws taken a part at a time, for a program that asks for records as it goes. */
namespace quillory::cli {

/**
 * The records of one seed and one set of options as a stream: the names, and the people behind them,
 * that quillory-cli writes for that seed, record after record, however they are asked for. Names
 * and people are one stream: asking for people after names gives the people of the records that
 * follow those names.
 */
class DrawSession {
public:
    /**
     * Reads the pools that `options` draw from. `check` is called every few thousand records while a
     * part is drawn (it may throw, to stop). Throws Failure.
     */
    DrawSession(const Options& options, Environment environment, std::uint64_t seed, std::function<void()> check = {});
    ~DrawSession();

    DrawSession(const DrawSession&) = delete;
    DrawSession& operator=(const DrawSession&) = delete;

    /**
     * The next `count` names, as quillory-cli prints them, each ended by "\n". A unique stream is told
     * its count by its first part, so that its first part is quillory-cli's run of that count; the
     * names of later parts repeat none before them. Throws Failure.
     */
    QByteArray names(std::int64_t count);

    /**
     * The name of the first record of `seed`, as names() prints it without its line end: the stream
     * starts anew from that seed (its pools and tables kept), for a caller that draws each name from
     * a number of its own. Not for a unique stream. Throws Failure.
     */
    QByteArray nameOfSeed(std::uint64_t seed);

    /**
     * The first record of `seed`'s `fields` into `values`, as nameOfSeed() starts anew. Throws Failure.
     */
    void personOfSeed(std::uint64_t seed, const std::vector<Field>& fields, RecordValues& values);

    /** The next `count` records' `fields`, each record's values into `values` in turn. Throws Failure. */
    void people(std::int64_t count, const std::vector<Field>& fields, RecordValues& values);

    /** How many records were taken so far. */
    std::int64_t taken() const { return m_taken; }
    std::uint64_t seed() const { return m_seed; }

    /** The fields named as --fields names them; throws Failure (kUsage) naming one that is not. */
    static std::vector<Field> fieldsNamed(const QStringList& names);

private:
    class Stream;
    class Forward;

    template <typename Each> void take(std::int64_t count, Each&& each);

    Options m_options;
    Environment m_environment;
    std::uint64_t m_seed;
    std::function<void()> m_check;
    RunPools m_pools;
    std::unique_ptr<Stream> m_stream;
    std::int64_t m_taken = 0;
    // The people's writer of the last fields asked for, and the records it has passed.
    std::unique_ptr<Forward> m_forward;
    std::unique_ptr<PeopleWriter> m_writer;
    std::vector<Field> m_writerFields;
    std::int64_t m_writerAt = 0;
};

} // namespace quillory::cli
