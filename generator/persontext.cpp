#include "persontext.h"

#include <QChar>

#include <algorithm>

namespace quillory {

namespace {

// The letters that fold to more than one letter, or are no letter with an accent.
QStringView foldedLetter(char16_t c) {
    switch (c) {
    case u'œ':
        return u"oe";
    case u'Œ':
        return u"OE";
    case u'æ':
        return u"ae";
    case u'Æ':
        return u"AE";
    case u'ß':
        return u"ss";
    case u'ẞ':
        return u"SS";
    case u'ł':
        return u"l";
    case u'Ł':
        return u"L";
    case u'ø':
        return u"o";
    case u'Ø':
        return u"O";
    case u'đ':
        return u"d";
    case u'Đ':
        return u"D";
    case u'ı':
        return u"i";
    case u'þ':
        return u"th";
    case u'Þ':
        return u"TH";
    case u'ð':
        return u"d";
    case u'Ð':
        return u"D";
    case u'’':
    case u'ʼ':
        return u"'";
    default:
        return {};
    }
}

} // namespace

QString asciiFolded(QStringView text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toString();
    QString folded;
    folded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            folded.append(QChar(c));
            continue;
        }
        if (const QStringView special = foldedLetter(c); !special.isEmpty()) {
            // A capital that folds to two letters heads a word in capitals only before another
            // capital: Œdipe → Oedipe, but ŒUVRE → OEUVRE.
            const bool beforeSmall = i + 1 < text.size() && text[i + 1].isLower();
            if (special.size() == 2 && special[1].isUpper() && beforeSmall) {
                folded.append(special[0]).append(special[1].toLower());
                continue;
            }
            folded.append(special);
            continue;
        }
        // An accented letter is its base letter and marks; the marks go.
        const QString decomposed = QString(QChar(c)).normalized(QString::NormalizationForm_KD);
        for (const QChar part : decomposed)
            if (part.unicode() < 0x80)
                folded.append(part);
            else if (const QStringView again = foldedLetter(part.unicode()); !again.isEmpty())
                folded.append(again);
    }
    return folded;
}

QString initialsOf(QStringView name) {
    QString initials;
    bool wordStart = true;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u' ') {
            wordStart = true;
            continue;
        }
        if (c == u'-') {
            if (!initials.isEmpty() && !initials.endsWith(u' ') && !initials.endsWith(u'-'))
                initials.append(u'-');
            wordStart = true;
            continue;
        }
        if (!wordStart || !c.isLetterOrNumber())
            continue;
        wordStart = false;
        if (!initials.isEmpty() && !initials.endsWith(u'-'))
            initials.append(u' ');
        // A letter outside the BMP is two units, taken whole.
        if (c.isHighSurrogate() && i + 1 < name.size())
            initials.append(name.sliced(i, 2).toString().toUpper());
        else
            initials.append(c.toUpper());
        initials.append(u'.');
    }
    if (initials.endsWith(u'-'))
        initials.chop(1);
    return initials;
}

QByteArray addressPart(QStringView name) {
    QByteArray out;
    for (const QChar c : asciiFolded(name).toLower()) {
        const char a = static_cast<char>(c.unicode());
        if ((a >= 'a' && a <= 'z') || (a >= '0' && a <= '9'))
            out.append(a);
        else if (a == '-' && !out.isEmpty() && !out.endsWith('-'))
            out.append(a);
    }
    while (out.endsWith('-'))
        out.chop(1);
    return out;
}

QByteArray addressLocalPart(QStringView first, QStringView last) {
    QByteArray local = addressPart(first);
    const QByteArray second = addressPart(last);
    if (!local.isEmpty() && !second.isEmpty())
        local.append('.');
    local.append(second);
    return local.isEmpty() ? QByteArrayLiteral("prenom") : local;
}

} // namespace quillory
