#pragma once

#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>

/**
 * What the fuzz targets share: turning the fuzzer's bytes into text, and failing loudly when a
 * property does not hold, so that libFuzzer keeps the input that broke it.
 */
namespace quillory::fuzz {

/** Aborts with the property and the text that broke it. */
[[noreturn]] inline void fail(const char* property, const QString& text = {}) {
    std::fprintf(stderr, "property broken: %s\ninput: %s\n", property, text.toUtf8().constData());
    std::abort();
}

inline void check(bool holds, const char* property, const QString& text = {}) {
    if (!holds)
        fail(property, text);
}

/** The bytes as text: UTF-8 where valid, each invalid byte a replacement character. */
inline QString textOf(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

/** Whether a text holds a surrogate that is not part of a pair: a character cut in two. */
inline bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

/**
 * Whether every character of the text changes case both ways consistently: its upper case lowers to
 * its lower case and back. Unicode has a few that do not (the dotless ı uppercases to I, which
 * lowercases to i; some old Cyrillic and combining forms), for which "letter case never counts"
 * has no single meaning.
 */
inline bool hasStableCase(const QString& text) {
    for (const QChar c : text) {
        if (c.isSurrogate())
            return false;
        if (c.toUpper().toLower() != c.toLower() || c.toLower().toUpper() != c.toUpper())
            return false;
    }
    return true;
}

/** Characters as a reader counts them: a surrogate pair is one. */
inline qsizetype characterCount(const QString& text) {
    return static_cast<qsizetype>(text.toUcs4().size());
}

} // namespace quillory::fuzz
