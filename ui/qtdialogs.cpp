#include "qtdialogs.h"

#include "core/apperror.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>

namespace quillory {

QString QtDialogs::toDisplayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString QtDialogs::toPlatformFilter(const QString& filter) {
#ifdef Q_OS_WIN
    return filter;
#else
    QString out = filter;
    out.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    return out;
#endif
}

QWidget* QtDialogs::owner() {
    return QApplication::activeWindow();
}

void QtDialogs::message(const QString& title, const QString& text, MessageIcon icon) {
    QMessageBox box(owner());
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(toDisplayText(text));
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.exec();
}

QString QtDialogs::prompt(const QString& title, const QString& label) {
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, label, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

QStringList QtDialogs::openFiles(const QString& title, const QStringList& filters) {
    QStringList shown;
    for (const QString& filter : filters)
        shown << toPlatformFilter(filter);
    return QFileDialog::getOpenFileNames(owner(), title, QString(), shown.join(QStringLiteral(";;")));
}

QString QtDialogs::chooseFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner(), title, startFolder, QFileDialog::ShowDirsOnly);
}

void QtDialogs::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void QtDialogs::openDocument(const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        throw AppError(QCoreApplication::translate("quillory", "No application could open %1")
                           .arg(QDir::toNativeSeparators(path)));
}

void QtDialogs::startProgram(const QString& program, const QStringList& arguments) {
    // Detached: the program outlives this one and is never waited for.
    if (!QProcess::startDetached(program, arguments))
        throw AppError(QCoreApplication::translate("quillory", "The program could not be started: %1")
                           .arg(QDir::toNativeSeparators(program)));
}

} // namespace quillory
