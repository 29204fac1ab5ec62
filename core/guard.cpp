#include "guard.h"

#include "apperror.h"
#include "errorreport.h"

#include <QCoreApplication>
#include <new>
#include <stdexcept>

namespace quillory {

Guard::Guard(Dialogs& dialogs, QString tag) : m_dialogs(dialogs), m_tag(std::move(tag)) {}

void Guard::reportCurrentException() noexcept {
    ++m_failures;
    try {
        ErrorReport(m_dialogs, m_tag, m_line, describeCurrentException());
    } catch (...) {
        // The report is the last resort: if even showing it fails there is nobody left to tell,
        // and the procedure still goes on with its next step.
    }
}

QString describeCurrentException() {
    try {
        throw;
    } catch (const AppError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("quillory", "Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QCoreApplication::translate("quillory", "Unknown error");
    }
}

} // namespace quillory
