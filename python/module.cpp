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

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// Lets Python see a signal (Ctrl+C) while records are drawn: raises its exception, which ends the draw.
void checkSignals() {
    const py::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0)
        throw py::error_already_set();
}

// The values of a part's records, kept without the interpreter's lock until they are made Python's.
class Values final : public RecordValues {
public:
    enum Kind : std::uint8_t { kText, kNumber, kMissing };
    struct Value {
        Kind kind;
        std::uint32_t size; // of a text
        std::int64_t at;    // where a text starts in m_bytes, or the number
    };

    void text(std::size_t, QByteArrayView bytes) override {
        m_values.push_back(
            {kText, static_cast<std::uint32_t>(bytes.size()), static_cast<std::int64_t>(m_bytes.size())});
        m_bytes.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
    }
    void number(std::size_t, int value) override { m_values.push_back({kNumber, 0, value}); }
    void missing(std::size_t) override { m_values.push_back({kMissing, 0, 0}); }
    void endRecord() override {}

    // Room for `count` records of `width` values, so that the values are not moved as they come.
    void reserve(std::int64_t count, std::size_t width) {
        const auto values = static_cast<std::size_t>(std::min<std::int64_t>(count, std::int64_t{1} << 24)) * width;
        m_values.reserve(values);
        m_bytes.reserve(values * 16);
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
        const py::gil_scoped_release released;
        try {
            m_session = std::make_unique<cli::DrawSession>(options, environment, seed, checkSignals);
        } catch (const cli::Failure& failure) {
            const py::gil_scoped_acquire gil;
            raise(failure);
        }
    }

    py::list names(std::int64_t count) {
        QByteArray lines;
        {
            const py::gil_scoped_release released;
            const std::lock_guard lock(m_mutex);
            try {
                lines = m_session->names(count);
            } catch (const cli::Failure& failure) {
                const py::gil_scoped_acquire gil;
                raise(failure);
            }
        }
        // As Python would split them: one str of the whole, then its lines.
        py::str whole = py::reinterpret_steal<py::str>(
            PyUnicode_DecodeUTF8(lines.constData(), lines.size() - (lines.isEmpty() ? 0 : 1), "strict"));
        if (!whole)
            throw py::error_already_set();
        if (lines.isEmpty())
            return py::list();
        return py::reinterpret_steal<py::list>(PyUnicode_Split(whole.ptr(), py::str("\n").ptr(), -1));
    }

    // The next `count` records' fields: a list of dicts, or a dict of lists with `columns`.
    py::object people(std::int64_t count, const std::vector<std::string>& names, bool columns) {
        Values values;
        const std::vector<cli::Field> fields = drawn(names, [&](const std::vector<cli::Field>& asked) {
            values.reserve(count, asked.size());
            m_session->people(count, asked, values);
        });
        return made(fields, values, columns);
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
        return made(fields, values, false).cast<py::list>()[0];
    }

    std::int64_t taken() const { return m_session->taken(); }
    std::uint64_t seed() const { return m_session->seed(); }

private:
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

    // The values as Python's: a list of dicts, or a dict of lists with `columns`.
    static py::object made(const std::vector<cli::Field>& fields, const Values& values, bool columns) {
        const std::size_t width = fields.size();
        std::vector<py::str> keys;
        for (const cli::Field field : fields) {
            keys.emplace_back(fieldName(field));
            PyUnicode_InternInPlace(&keys.back().ptr());
        }
        std::vector<ValueCache> caches(width);
        for (std::size_t column = 0; column < width; ++column)
            caches[column].kept = kept(fields[column]);
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
            return caches[column].of(values.bytes(value), fields[column] == cli::Field::BirthDate);
        };
        if (columns) {
            py::dict table;
            for (std::size_t column = 0; column < width; ++column) {
                py::list list(records);
                for (std::size_t record = 0; record < records; ++record)
                    PyList_SET_ITEM(list.ptr(), static_cast<Py_ssize_t>(record), make(record * width + column, column));
                table[keys[column]] = list;
            }
            return table;
        }
        py::list list(records);
        for (std::size_t record = 0; record < records; ++record) {
            PyObject* person = PyDict_New();
            if (person == nullptr)
                throw py::error_already_set();
            PyList_SET_ITEM(list.ptr(), static_cast<Py_ssize_t>(record), person);
            for (std::size_t column = 0; column < width; ++column) {
                PyObject* value = make(record * width + column, column);
                const int failed = value == nullptr ? -1 : PyDict_SetItem(person, keys[column].ptr(), value);
                Py_XDECREF(value);
                if (failed != 0)
                    throw py::error_already_set();
            }
        }
        return list;
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

    // The objects of a column's texts, each made once (up to a bound, past which they are made anew).
    struct ValueCache {
        bool kept = false;
        std::unordered_map<std::string_view, py::object> objects;

        PyObject* of(std::string_view bytes, bool date) {
            if (kept) {
                if (const auto found = objects.find(bytes); found != objects.end())
                    return py::object(found->second).release().ptr();
            }
            py::object made = date ? dateOf(bytes)
                                   : py::reinterpret_steal<py::object>(PyUnicode_DecodeUTF8(
                                         bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "strict"));
            if (!made)
                throw py::error_already_set();
            if (kept && objects.size() < kMostKept)
                objects.emplace(bytes, made);
            return made.release().ptr();
        }
        static constexpr std::size_t kMostKept = 1 << 16;
    };

    std::unique_ptr<cli::DrawSession> m_session;
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
