#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace quillory {

/**
 * The user's choices between runs: text values addressed by key, all in the section "Quillory" of
 * the application "Obrenna". Every value is written at once (no batching), so a crash loses nothing
 * and another copy of the program sees the change at its next read.
 */
class SettingsStore {
public:
    /** The current user's store: an INI file in the configuration folder, or the registry on Windows. */
    static std::unique_ptr<SettingsStore> forCurrentUser();

    /** A store kept in the given INI file. */
    explicit SettingsStore(const QString& iniFile);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    /** The stored text of `key`, or `defaultValue` when the key is absent. */
    QString ReadSetting(const QString& key, const QString& defaultValue) const;

    /** Creates or replaces the text of `key`; throws AppError when the store cannot be written. */
    void StoreSetting(const QString& key, const QString& value);

    /** Where the values live (a file path, or a registry path). */
    QString location() const;

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);

    std::unique_ptr<QSettings> m_settings;
};

/** A stored option and the text read when it is absent, in the order start-up restores them. */
struct OptionDefault {
    const char* key;
    const char* value;
};
inline constexpr OptionDefault kOptionDefaults[] = {
    {"Option9", "1"}, {"Option8", "0"}, {"Option1", "1"}, {"Option2", "0"},
    {"Option3", "0"}, {"Option4", "1"}, {"Option5", "0"}, {"Option6", "0"},
};

/** The count as typed, and the text read when it is absent. */
inline const QString kCountKey = QStringLiteral("Text1");
inline const QString kCountDefault = QStringLiteral("100");

/** A truth value as the store keeps it: "True" or "False". */
QString truthText(bool value);

/**
 * A stored text as a truth value: "True" or "False" in any letter case, or a number (0 is false,
 * any other number true), surrounding spaces ignored. Any other text throws AppError("Type mismatch").
 */
bool truthFromText(const QString& text);

} // namespace quillory
