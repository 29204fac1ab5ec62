#pragma once

#include <QString>

#include <utility>

namespace quillory {

class Dialogs;

/**
 * The failure path of a guarded procedure. Each step carries its statement number; when a step
 * throws, the "Application Error" report names the procedure's tag and that number, and the procedure
 * goes on with its next step. Nothing is rolled back. A failure deep inside called code is reported
 * with the number of the caller's step that made the call, because that step is what threw.
 *
 *     Guard g(dialogs, ErrorLocationTag("Form1", "Form_Load"));
 *     g.step(100, [&] { ApplySkin(...); });
 *     if (g.test(104, [&] { return FileIsPresent(path); }))
 *         g.step(106, [&] { loadCursor(path); });
 *
 * A condition whose evaluation fails counts as passed, so the steps it guards still run.
 * No exception leaves a step or a test.
 */
class Guard {
public:
    Guard(Dialogs& dialogs, QString tag);

    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

    /** Runs one numbered step; returns false when it failed (and was reported). */
    template <typename Action> bool step(int line, Action&& action) noexcept {
        m_line = line;
        try {
            std::forward<Action>(action)();
            return true;
        } catch (...) {
            reportCurrentException();
            return false;
        }
    }

    /** Evaluates a numbered condition; a failing evaluation is reported and counts as true. */
    template <typename Condition> bool test(int line, Condition&& condition) noexcept {
        m_line = line;
        try {
            return static_cast<bool>(std::forward<Condition>(condition)());
        } catch (...) {
            reportCurrentException();
            return true;
        }
    }

    /** Sets the current statement number for a line that cannot fail. */
    void mark(int line) noexcept { m_line = line; }

    int line() const noexcept { return m_line; }
    const QString& tag() const noexcept { return m_tag; }
    int failures() const noexcept { return m_failures; }

private:
    void reportCurrentException() noexcept;

    Dialogs& m_dialogs;
    QString m_tag;
    int m_line = 0;
    int m_failures = 0;
};

/** The description of the exception being handled: the message it carries, in the user's words. */
QString describeCurrentException();

} // namespace quillory
