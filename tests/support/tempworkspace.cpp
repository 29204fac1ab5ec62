#include "tempworkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace quillory::test {

TempWorkspace::TempWorkspace() {
    EXPECT_TRUE(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("program"));
}

QString TempWorkspace::programFolder() const {
    return m_dir.filePath(QStringLiteral("program"));
}

QString TempWorkspace::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString target = path(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << target.toStdString();
    file.write(bytes);
    return target;
}

QByteArray shippedHandCursor() {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/app/resources/HAND-M.CUR"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace quillory::test
