// quillory._engine: quillory-cli's draws inside the Python process. The options are read by the
// command line's own parser, so that a mistake is told in its words; the records are drawn without
// the interpreter's lock, then made into Python's own values with it.

// Python's headers first: Qt's keywords are macros that would rewrite them.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <datetime.h>

#include "cli/drawsession.h"
#include "cli/options.h"

#include "core/appinfo.h"
#include "core/apppaths.h"
#include "core/random.h"

#include <QStandardPaths>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace py = pybind11;
using namespace quillory;

namespace {

// A failure of the command line as Python's own exception: a usage error is a ValueError, the rest a
// RuntimeError, each with quillory-cli's line.
[[noreturn]] void raise(const cli::Failure& failure) {
    const std::string message = failure.message.toStdString();
    if (failure.status == cli::kUsage)
        throw py::value_error(message);
    throw std::runtime_error(message);
}

// A draw stopped because Python saw a signal (Ctrl+C).
struct Stopped {};

// The values of a part's records, kept without the interpreter's lock until they are made Python's.
class Values final : public RecordValues {
public:
    enum Kind : std::uint8_t { kText, kNumber, kMissing };
    struct Value {
        Kind kind;
        std::uint32_t size;     // of a text
        std::int64_t at;        // where a text starts in m_bytes, or the number
        std::uint64_t identity; // the same for the same text of a column (0: not known)
    };

    void text(std::size_t, QByteArrayView bytes, std::uint64_t identity) override {
        m_values.push_back(
            {kText, static_cast<std::uint32_t>(bytes.size()), static_cast<std::int64_t>(m_bytes.size()), identity});
        m_bytes.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
    }
    void number(std::size_t, int value) override { m_values.push_back({kNumber, 0, value, 0}); }
    void missing(std::size_t) override { m_values.push_back({kMissing, 0, 0, 0}); }
    void endRecord() override {}

    // Ready for the next part, the room kept.
    void clear() {
        m_values.clear();
        m_bytes.clear();
    }

    const std::vector<Value>& values() const { return m_values; }
    std::string_view bytes(const Value& value) const {
        return std::string_view(m_bytes).substr(static_cast<std::size_t>(value.at), value.size);
    }

private:
    std::vector<Value> m_values;
    std::string m_bytes;
};

// A date written YYYY-MM-DD as a datetime.date.
py::object dateOf(std::string_view text) {
    const auto digits = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    if (text.size() != 10)
        return py::str(text.data(), text.size());
    return py::reinterpret_steal<py::object>(PyDate_FromDate(digits(0, 4), digits(5, 2), digits(8, 2)));
}

class Session {
public:
    Session(const std::vector<std::string>& arguments, std::optional<py::bytes> firstLines,
            std::optional<py::bytes> lastLines, const std::string& programFolder) {
        QStringList list{cli::kProgramName};
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        const cli::Request request = cli::parseArguments(list);
        if (request.kind != cli::Request::Kind::Run)
            throw py::value_error(request.text.toStdString());
        cli::Options options = request.options;
        if (firstLines)
            options.firstNamesContent = std::make_shared<const QByteArray>(QByteArray::fromStdString(*firstLines));
        if (lastLines)
            options.lastNamesContent = std::make_shared<const QByteArray>(QByteArray::fromStdString(*lastLines));
        // The user's own names live in their data folder when the program folder is not theirs to write.
        const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                   QLatin1Char('/') + appinfo::kSettingsOrganisation + QLatin1Char('/') +
                                   appinfo::kSettingsSection;
        cli::Environment environment{.paths = AppPaths(QString::fromStdString(programFolder), userFolder),
                                     .outputFd = -1,
                                     .errors = stderr,
                                     .errorsOnTerminal = false,
                                     .outputOnTerminal = false,
                                     .entropy = systemSeed};
        const std::uint64_t seed = options.seed ? *options.seed : systemSeed();
        m_unique = options.unique;
        const py::gil_scoped_release released;
        try {
            m_session = std::make_unique<cli::DrawSession>(options, environment, seed, [this] {
                if (m_stop.load(std::memory_order_relaxed))
                    throw Stopped{};
            });
        } catch (const cli::Failure& failure) {
            const py::gil_scoped_acquire gil;
            raise(failure);
        }
    }

    // The next `count` names. A part is drawn on a thread of its own while the one before is made
    // Python's strs; a unique stream's whole count is drawn at once, as it chooses its way by it.
    py::list names(std::int64_t count) {
        if (count < 0)
            throw py::value_error(
                QStringLiteral("a count of %1: the count is a whole number from 0").arg(count).toStdString());
        std::unique_lock lock(m_mutex, std::defer_lock);
        {
            const py::gil_scoped_release released;
            lock.lock();
        }
        const std::int64_t most = m_unique ? std::max<std::int64_t>(count, 1) : kNamesPart;
        py::list result;
        Py_ssize_t made = 0;
        inParts<QByteArray>(
            count, most, [this](QByteArray& part, std::int64_t size) { part = m_session->names(size); },
            [&](const QByteArray& part) { made = addLines(result, made, part); });
        return result;
    }

    // The lines as Python splits them (one str of the whole, then its lines), into `list` from `at`.
    static Py_ssize_t addLines(py::list& list, Py_ssize_t at, const QByteArray& lines) {
        if (lines.isEmpty())
            return at;
        const py::str whole =
            py::reinterpret_steal<py::str>(PyUnicode_DecodeUTF8(lines.constData(), lines.size() - 1, "strict"));
        if (!whole)
            throw py::error_already_set();
        const py::list split = py::reinterpret_steal<py::list>(PyUnicode_Split(whole.ptr(), py::str("\n").ptr(), -1));
        if (!split)
            throw py::error_already_set();
        // Appended whole: a list made at its full size first would be touched in full when dropped early.
        if (PyList_SetSlice(list.ptr(), at, at, split.ptr()) != 0)
            throw py::error_already_set();
        return at + PyList_GET_SIZE(split.ptr());
    }

    // The next `count` records' fields: a list of dicts, or a dict of lists with `columns`.
    py::object people(std::int64_t count, const std::vector<std::string>& names, bool columns) {
        QStringList asked;
        for (const std::string& name : names)
            asked << QString::fromStdString(name);
        std::vector<cli::Field> fields;
        std::unique_lock lock(m_mutex, std::defer_lock);
        {
            const py::gil_scoped_release released;
            lock.lock();
            try {
                fields = cli::DrawSession::fieldsNamed(asked);
            } catch (const cli::Failure& failure) {
                const py::gil_scoped_acquire gil;
                raise(failure);
            }
        }
        // A few thousand records at a time: their values drawn without the interpreter's lock stay
        // in the processor's cache until they are made Python's, and memory stays that of a part.
        // The next part is drawn on a thread of its own while this one is made Python's: the drawing
        // needs no lock of the interpreter's, the making holds it.
        Maker maker(fields, columns);
        // A unique stream's whole count is drawn at once, as it chooses its way by it.
        const std::int64_t most = m_unique ? std::max<std::int64_t>(count, 1) : kPart;
        inParts<Values>(
            count, most,
            [this, &fields](Values& part, std::int64_t size) {
                part.clear();
                m_session->people(size, fields, part);
            },
            [&](const Values& part) { maker.add(part); });
        return maker.result();
    }

    // The name of the first record of `seed` (the stream starts anew from it).
    py::str nameOfSeed(std::uint64_t seed) {
        QByteArray name;
        drawn({}, [&](const std::vector<cli::Field>&) { name = m_session->nameOfSeed(seed); });
        return py::str(name.constData(), static_cast<std::size_t>(name.size()));
    }

    // The fields of the first record of `seed`, a dict.
    py::object personOfSeed(std::uint64_t seed, const std::vector<std::string>& names) {
        Values values;
        const std::vector<cli::Field> fields =
            drawn(names, [&](const std::vector<cli::Field>& asked) { m_session->personOfSeed(seed, asked, values); });
        Maker maker(fields, false);
        maker.add(values);
        return maker.result().cast<py::list>()[0];
    }

    std::int64_t taken() const { return m_session->taken(); }
    std::uint64_t seed() const { return m_session->seed(); }

private:
    // `count` records in parts of at most `most`: each part drawn by `draw` on a thread of its own
    // (without the interpreter's lock) while the part before is handed to `take` (with it).
    template <typename Part, typename Draw, typename Take>
    void inParts(std::int64_t count, std::int64_t most, Draw&& draw, Take&& take) {
        std::array<Part, 2> parts;
        const auto drawPart = [&](std::size_t which, std::int64_t size) {
            return std::async(std::launch::async, [&draw, &parts, which, size] { draw(parts[which], size); });
        };
        std::int64_t drawnSoFar = std::min(count, most);
        std::future<void> drawing = drawPart(0, drawnSoFar);
        for (std::size_t which = 0;; which = 1 - which) {
            await(drawing);
            const bool more = drawnSoFar < count;
            if (more) {
                const std::int64_t size = std::min(count - drawnSoFar, most);
                drawing = drawPart(1 - which, size);
                drawnSoFar += size;
            }
            try {
                take(parts[which]);
            } catch (...) {
                if (more) {
                    const py::gil_scoped_release released;
                    drawing.wait();
                }
                throw;
            }
            if (!more)
                break;
        }
    }

    // Runs `draw` with the fields named, without the interpreter's lock and alone on the session.
    template <typename Draw> std::vector<cli::Field> drawn(const std::vector<std::string>& names, Draw&& draw) {
        QStringList asked;
        for (const std::string& name : names)
            asked << QString::fromStdString(name);
        std::vector<cli::Field> fields;
        const py::gil_scoped_release released;
        const std::lock_guard lock(m_mutex);
        try {
            if (!names.empty())
                fields = cli::DrawSession::fieldsNamed(asked);
            draw(fields);
        } catch (const cli::Failure& failure) {
            const py::gil_scoped_acquire gil;
            raise(failure);
        }
        return fields;
    }

    // Whether a field's values repeat enough to keep each one's object: names, places, dates.
    static bool kept(cli::Field field) {
        switch (field) {
        case cli::Field::Email:
        case cli::Field::FullName:
        case cli::Field::Street:
        case cli::Field::Address:
        case cli::Field::Phone:
        case cli::Field::PhoneInternational:
        case cli::Field::Mobile:
        case cli::Field::MobileInternational:
        case cli::Field::Nir:
            return false;
        default:
            return true;
        }
    }

    // The objects of a column's texts, each made once (up to a bound, past which they are made anew):
    // an open-addressing table of the texts' hashes, their bytes kept in one block.
    class ValueCache {
    public:
        bool kept = false;

        ValueCache() = default;
        ValueCache(const ValueCache&) = delete;
        ValueCache& operator=(const ValueCache&) = delete;
        ValueCache(ValueCache&& other) noexcept
            : kept(other.kept), m_slots(std::move(other.m_slots)), m_keys(std::move(other.m_keys)),
              m_count(other.m_count), m_known(std::move(other.m_known)), m_knownCount(other.m_knownCount) {
            other.m_slots.clear();
            other.m_known.clear();
        }
        ~ValueCache() {
            for (const Slot& slot : m_slots)
                Py_XDECREF(slot.object);
            for (const Known& known : m_known)
                Py_XDECREF(known.object);
        }

        // A new reference to the object of `bytes`: a str, or a date for a birth date.
        PyObject* of(std::string_view bytes, std::uint64_t identity, bool date) {
            if (!kept)
                return make(bytes, date);
            if (identity != 0)
                return ofIdentity(bytes, identity, date);
            if (2 * (m_count + 1) > m_slots.size() && m_count < kMostKept)
                grow();
            const std::uint64_t hash = hashOf(bytes);
            std::size_t at = static_cast<std::size_t>(hash) & (m_slots.size() - 1);
            for (; m_slots[at].object != nullptr; at = (at + 1) & (m_slots.size() - 1)) {
                const Slot& slot = m_slots[at];
                if (slot.hash == hash && slot.size == bytes.size() &&
                    std::memcmp(m_keys.data() + slot.from, bytes.data(), bytes.size()) == 0) {
                    Py_INCREF(slot.object);
                    return slot.object;
                }
            }
            PyObject* object = make(bytes, date);
            if (m_count < kMostKept) {
                Py_INCREF(object);
                m_slots[at] = {hash, static_cast<std::uint32_t>(m_keys.size()),
                               static_cast<std::uint32_t>(bytes.size()), object};
                m_keys.append(bytes);
                ++m_count;
            }
            return object;
        }

    private:
        struct Slot {
            std::uint64_t hash;
            std::uint32_t from;
            std::uint32_t size;
            PyObject* object; // nullptr: free
        };
        static constexpr std::size_t kMostKept = 1 << 16;

        // A text whose identity tells it apart: found by that number alone.
        struct Known {
            std::uint64_t identity;
            PyObject* object; // nullptr: free
        };
        PyObject* ofIdentity(std::string_view bytes, std::uint64_t identity, bool date) {
            if (2 * (m_knownCount + 1) > m_known.size() && m_knownCount < kMostKept) {
                std::vector<Known> old = std::move(m_known);
                m_known.assign(std::max<std::size_t>(64, 2 * old.size()), Known{0, nullptr});
                for (const Known& known : old)
                    if (known.object != nullptr)
                        m_known[free(known.identity)] = known;
            }
            const std::size_t at = free(identity);
            if (m_known[at].object != nullptr) {
                Py_INCREF(m_known[at].object);
                return m_known[at].object;
            }
            PyObject* object = make(bytes, date);
            if (m_knownCount < kMostKept) {
                Py_INCREF(object);
                m_known[at] = {identity, object};
                ++m_knownCount;
            }
            return object;
        }
        // The slot of `identity`, or the free one where it would go.
        std::size_t free(std::uint64_t identity) const {
            std::size_t at = static_cast<std::size_t>((identity * 0x9E3779B97F4A7C15ULL) >> 20) & (m_known.size() - 1);
            while (m_known[at].object != nullptr && m_known[at].identity != identity)
                at = (at + 1) & (m_known.size() - 1);
            return at;
        }

        // Twice the slots, so that a column of few texts keeps a table that stays in the cache.
        void grow() {
            std::vector<Slot> old = std::move(m_slots);
            m_slots.assign(std::max<std::size_t>(64, 2 * old.size()), Slot{0, 0, 0, nullptr});
            for (const Slot& slot : old) {
                if (slot.object == nullptr)
                    continue;
                std::size_t at = static_cast<std::size_t>(slot.hash) & (m_slots.size() - 1);
                while (m_slots[at].object != nullptr)
                    at = (at + 1) & (m_slots.size() - 1);
                m_slots[at] = slot;
            }
        }

        static PyObject* make(std::string_view bytes, bool date) {
            PyObject* object =
                date ? dateOf(bytes).release().ptr()
                     : PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "strict");
            if (object == nullptr)
                throw py::error_already_set();
            return object;
        }
        // Eight bytes at a time, each mixed in by a multiplication.
        static std::uint64_t hashOf(std::string_view bytes) {
            std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ bytes.size();
            std::size_t at = 0;
            for (; at + 8 <= bytes.size(); at += 8) {
                std::uint64_t word;
                std::memcpy(&word, bytes.data() + at, 8);
                hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
                hash ^= hash >> 32;
            }
            std::uint64_t rest = 0;
            std::memcpy(&rest, bytes.data() + at, bytes.size() - at);
            hash = (hash ^ rest) * 0xC4CEB9FE1A85EC53ULL;
            return hash ^ (hash >> 29);
        }

        std::vector<Slot> m_slots;
        std::string m_keys;
        std::size_t m_count = 0;
        std::vector<Known> m_known;
        std::size_t m_knownCount = 0;
    };

    static constexpr std::int64_t kPart = 1 << 13;
    static constexpr std::int64_t kNamesPart = 1 << 16;

    // The values of parts of records as Python's, one part after another: a list of dicts, or a dict
    // of lists with `columns`.
    class Maker {
    public:
        Maker(const std::vector<cli::Field>& fields, bool columns)
            : m_fields(fields), m_caches(fields.size()), m_columns(columns) {
            for (std::size_t column = 0; column < fields.size(); ++column) {
                m_keys.emplace_back(fieldName(fields[column]));
                PyUnicode_InternInPlace(&m_keys.back().ptr());
                m_caches[column].kept = kept(fields[column]);
                if (columns)
                    m_lists.emplace_back();
            }
            if (!columns)
                m_lists.emplace_back();
        }

        void add(const Values& values) {
            const std::size_t width = m_fields.size();
            const std::vector<Values::Value>& all = values.values();
            const std::size_t records = width == 0 ? 0 : all.size() / width;
            // A new reference to each value: None, an int, a date or a str, the same object for a text met before.
            const auto make = [&](std::size_t at, std::size_t column) -> PyObject* {
                const Values::Value& value = all[at];
                switch (value.kind) {
                case Values::kMissing:
                    Py_RETURN_NONE;
                case Values::kNumber:
                    return PyLong_FromLongLong(value.at);
                case Values::kText:
                    break;
                }
                return m_caches[column].of(values.bytes(value), value.identity,
                                           m_fields[column] == cli::Field::BirthDate);
            };
            if (m_columns) {
                for (std::size_t column = 0; column < width; ++column) {
                    py::list part(records);
                    for (std::size_t record = 0; record < records; ++record)
                        PyList_SET_ITEM(part.ptr(), static_cast<Py_ssize_t>(record),
                                        make(record * width + column, column));
                    append(m_lists[column], part);
                }
            } else {
                // The values a column at a time, so that each column's objects stay in the cache
                // while it is made; then the records.
                m_objects.assign(all.size(), nullptr);
                const auto release = [&] {
                    for (PyObject*& object : m_objects)
                        Py_CLEAR(object);
                };
                try {
                    for (std::size_t column = 0; column < width; ++column)
                        for (std::size_t record = 0; record < records; ++record)
                            m_objects[record * width + column] = make(record * width + column, column);
                } catch (...) {
                    release();
                    throw;
                }
                py::list part(records);
                for (std::size_t record = 0; record < records; ++record) {
                    PyObject* person = _PyDict_NewPresized(static_cast<Py_ssize_t>(width));
                    if (person == nullptr) {
                        release();
                        throw py::error_already_set();
                    }
                    PyList_SET_ITEM(part.ptr(), static_cast<Py_ssize_t>(record), person);
                    for (std::size_t column = 0; column < width; ++column) {
                        PyObject*& value = m_objects[record * width + column];
                        const int failed = PyDict_SetItem(person, m_keys[column].ptr(), value);
                        Py_CLEAR(value);
                        if (failed != 0) {
                            release();
                            throw py::error_already_set();
                        }
                    }
                }
                append(m_lists[0], part);
            }
            m_made += static_cast<Py_ssize_t>(records);
        }

        // A part's items at the end of a list, which grows as parts come: a list made at its full
        // size first would be touched in full when dropped early.
        static void append(py::list& list, const py::list& part) {
            const Py_ssize_t at = PyList_GET_SIZE(list.ptr());
            if (PyList_SetSlice(list.ptr(), at, at, part.ptr()) != 0)
                throw py::error_already_set();
        }

        py::object result() {
            if (!m_columns)
                return m_lists[0];
            py::dict table;
            for (std::size_t column = 0; column < m_fields.size(); ++column)
                table[m_keys[column]] = m_lists[column];
            return table;
        }

    private:
        std::vector<cli::Field> m_fields;
        std::vector<ValueCache> m_caches;
        bool m_columns;
        std::vector<py::str> m_keys;
        std::vector<py::list> m_lists;    // each made whole (PyList_New(count)) and filled as parts come
        std::vector<PyObject*> m_objects; // a part's values, owned until they are in their records
        Py_ssize_t m_made = 0;
    };

    // Waits for a part drawn on its own thread, its failure raised here. Python's signals are looked
    // at meanwhile, every few hundredths of a second (only the main thread can): on one, the draw is
    // stopped and its exception (KeyboardInterrupt) raised.
    void await(std::future<void>& drawing) {
        // Once a part, however soon the draw is done.
        bool signalled = PyErr_CheckSignals() != 0;
        if (signalled)
            m_stop = true;
        const py::gil_scoped_release released;
        while (!signalled && drawing.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            const py::gil_scoped_acquire gil;
            if (PyErr_CheckSignals() != 0) {
                m_stop = true;
                signalled = true;
                break;
            }
        }
        try {
            drawing.get();
        } catch (const Stopped&) {
        } catch (const cli::Failure& failure) {
            m_stop = false;
            const py::gil_scoped_acquire gil;
            if (signalled)
                throw py::error_already_set();
            raise(failure);
        }
        m_stop = false;
        if (signalled) {
            const py::gil_scoped_acquire gil;
            throw py::error_already_set();
        }
    }

    std::unique_ptr<cli::DrawSession> m_session;
    std::atomic<bool> m_stop{false};
    bool m_unique = false;
    std::mutex m_mutex;
};

} // namespace

PYBIND11_MODULE(_engine, module) {
    PyDateTime_IMPORT;
    module.doc() = "Quillory's engine: the draws of quillory-cli inside Python (use the quillory package).";
    module.attr("FIELDS") = [] {
        std::vector<std::string> names;
        for (const char* name : kPersonFieldNames)
            names.emplace_back(name);
        return names;
    }();
    py::class_<Session>(module, "Session")
        .def(py::init<const std::vector<std::string>&, std::optional<py::bytes>, std::optional<py::bytes>,
                      const std::string&>(),
             py::arg("arguments"), py::arg("first_lines"), py::arg("last_lines"), py::arg("program_folder"))
        .def("names", &Session::names, py::arg("count"))
        .def("people", &Session::people, py::arg("count"), py::arg("fields"), py::arg("columns"))
        .def("name_of_seed", &Session::nameOfSeed, py::arg("seed"))
        .def("person_of_seed", &Session::personOfSeed, py::arg("seed"), py::arg("fields"))
        .def_property_readonly("taken", &Session::taken)
        .def_property_readonly("seed", &Session::seed);
}
