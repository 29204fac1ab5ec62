#include "settings.h"

#include "apperror.h"
#include "appinfo.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>

#include <cmath>

namespace quillory {

std::unique_ptr<SettingsStore> SettingsStore::forCurrentUser() {
    return std::unique_ptr<SettingsStore>(new SettingsStore(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, appinfo::kSettingsOrganisation, appinfo::kSettingsSection)));
}

SettingsStore::SettingsStore(const QString& iniFile)
    : SettingsStore(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {
    m_settings->beginGroup(appinfo::kSettingsSection);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::location() const {
    return m_settings->fileName();
}

QString SettingsStore::ReadSetting(const QString& key, const QString& defaultValue) const {
    // Another copy of the program may have written since this one last looked.
    m_settings->sync();
    if (!m_settings->contains(key))
        return defaultValue;
    const QVariant value = m_settings->value(key);
    // A hand-edited INI line with unquoted commas reads as a list; give back the text as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::StoreSetting(const QString& key, const QString& value) {
    m_settings->setValue(key, value);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        throw AppError(QCoreApplication::translate("quillory", "The settings could not be saved: %1").arg(location()));
}

QString truthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool truthFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale::system().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number))
        throw AppError(QCoreApplication::translate("quillory", "Type mismatch"));
    return number != 0.0;
}

} // namespace quillory
