#pragma once

#include "core/listitems.h"
#include "peoplewriter.h"
#include "saveas.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillory {

/**
 * The people behind a run's names, as columns of the results list: the fields that the people files
 * hold besides the names and the year of birth (sex, birth date, title, e-mail), each row exactly as
 * "Save As…" writes it in CSV, since it is that record, kept. Made once per run, away from the
 * window's thread; each row costs its record's bytes and four more, about 50 bytes.
 */
class PeopleColumns final : public ListColumns {
public:
    /** What make() throws when it was told to stop. */
    struct Cancelled {};

    /**
     * Draws the people of `run` as savePeopleAs() does. Stops, throwing Cancelled, soon after
     * `cancelled` turns true. Throws AppError.
     */
    static std::shared_ptr<const PeopleColumns> make(const NameRun& run, const BirthsOf& birthsOf,
                                                     const std::atomic<bool>* cancelled = nullptr);

    int count() const override { return static_cast<int>(m_fields.size()); }
    QString header(int column) const override;
    QString text(qsizetype row, int column) const override;

    qsizetype rows() const { return static_cast<qsizetype>(m_starts.size()) - 1; }
    /** The memory the columns hold, in bytes. */
    std::size_t bytes() const { return m_lines.capacity() + m_starts.capacity() * sizeof(std::uint32_t); }

    /** The fields shown, in order. */
    static std::vector<PersonField> shownFields();

private:
    std::vector<PersonField> m_fields;
    std::string m_lines;                 // the records, one a line, without the header
    std::vector<std::uint32_t> m_starts; // where each record begins, and where the last ends
};

} // namespace quillory
