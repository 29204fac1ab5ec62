#pragma once

#include "core/dialogs.h"

namespace quillory::bench {

/** Dialogs that answer nothing and count what would have been shown: any showing spoils a measurement. */
class CountingDialogs : public Dialogs {
public:
    int shown = 0;
    void message(const QString&, const QString&, MessageIcon) override { ++shown; }
    QString prompt(const QString&, const QString&) override { return ++shown, QString(); }
    QStringList openFiles(const QString&, const QStringList&) override { return ++shown, QStringList(); }
    QString chooseFolder(const QString&, const QString&) override { return ++shown, QString(); }
    void openUrl(const QUrl&) override {}
    void openDocument(const QString&) override { ++shown; }
};

} // namespace quillory::bench
