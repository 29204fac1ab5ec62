#include "qtdialogs.h"

#include "core/apperror.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

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

std::optional<QString> QtDialogs::askValue(const ValueQuestion& question) {
    QDialog dialog(owner());
    dialog.setWindowTitle(question.title);
    auto* none = new QRadioButton(question.noneLabel, &dialog);
    auto* some = new QRadioButton(question.valueLabel, &dialog);
    auto* value = new QLineEdit(question.current, &dialog);
    value->setPlaceholderText(question.example);
    auto* problem = new QLabel(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    problem->setWordWrap(true);
    QPalette warning = problem->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x20));
    problem->setPalette(warning);
    (question.current.isEmpty() ? none : some)->setChecked(true);
    value->setEnabled(!question.current.isEmpty());
    // The box shows a value of twenty digits whole (the largest seed), and the dialog is wide enough
    // for its title beside the window's own buttons.
    const QFontMetrics boxMetrics(value->font());
    value->setMinimumWidth(
        std::max({boxMetrics.horizontalAdvance(QString(20, u'8')), boxMetrics.horizontalAdvance(question.example),
                  boxMetrics.horizontalAdvance(question.current)}) +
        24);
    dialog.setMinimumWidth(QFontMetrics(dialog.font()).horizontalAdvance(question.title) + 160);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(none);
    auto* row = new QHBoxLayout;
    row->addWidget(some);
    row->addWidget(value, 1);
    layout->addLayout(row);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    const auto check = [&] {
        const QString text = some->isChecked() ? question.problemWith(value->text()) : QString();
        problem->setText(text);
        buttons->button(QDialogButtonBox::Ok)->setEnabled(text.isEmpty());
    };
    QObject::connect(some, &QRadioButton::toggled, value, [&](bool on) {
        value->setEnabled(on);
        if (on)
            value->setFocus();
        check();
    });
    QObject::connect(value, &QLineEdit::textChanged, &dialog, check);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    check();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return some->isChecked() ? value->text().trimmed() : QString();
}

SavePick QtDialogs::saveFile(const QString& title, const QString& suggested, const QStringList& filters, int selected) {
    QString chosen = filters.value(selected);
    // The caller asks before replacing a file: only it knows the ending the name will be given.
    const QString path = QFileDialog::getSaveFileName(owner(), title, suggested, filters.join(QStringLiteral(";;")),
                                                      &chosen, QFileDialog::DontConfirmOverwrite);
    return {path, path.isEmpty() ? -1 : static_cast<int>(filters.indexOf(chosen))};
}

bool QtDialogs::confirm(const QString& title, const QString& text) {
    return QMessageBox::question(owner(), title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
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
