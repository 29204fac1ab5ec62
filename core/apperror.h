#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace quillory {

/**
 * The one exception type of core code. It carries the failing operation's own message (an engine's,
 * the system's or ours), which the guarded procedure that catches it shows in the error report.
 */
class AppError : public std::exception {
public:
    explicit AppError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace quillory
