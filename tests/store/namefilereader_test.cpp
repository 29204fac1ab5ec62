#include "core/apperror.h"
#include "store/namefilereader.h"

#include <QBuffer>
#include <QProcess>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

// The names of a file, and how many of its lines were passed over.
std::pair<QStringList, qsizetype> readAll(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    NameFileReader reader(buffer);
    QStringList names;
    while (const auto name = reader.next())
        names << *name;
    return {names, reader.skippedLines()};
}

QStringList namesIn(const QByteArray& bytes) {
    return readAll(bytes).first;
}

// A device whose reads fail once they reach `failAt`.
class FailingDevice : public QBuffer {
public:
    FailingDevice(const QByteArray& bytes, qint64 failAt) : m_failAt(failAt) { setData(bytes); }

protected:
    qint64 readData(char* data, qint64 size) override {
        if (pos() + size > m_failAt) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        return QBuffer::readData(data, size);
    }

private:
    qint64 m_failAt;
};

} // namespace

TEST(NameFileReader, EveryKindOfLineEndGivesTheSameNames) {
    const QStringList expected = {"Anne", "Bruno", "Chloé"};
    EXPECT_EQ(namesIn("Anne\r\nBruno\r\nChlo\xc3\xa9\r\n"), expected);
    EXPECT_EQ(namesIn("Anne\nBruno\nChlo\xc3\xa9\n"), expected);
    EXPECT_EQ(namesIn("Anne\rBruno\rChlo\xc3\xa9"), expected);
    EXPECT_EQ(namesIn("Anne\r\n\r\n\nBruno\n\rChlo\xc3\xa9"), expected) << "blank lines are skipped";
    EXPECT_EQ(namesIn(""), QStringList());
    EXPECT_EQ(namesIn("\r\n\n"), QStringList());
}

TEST(NameFileReader, KeepsTheWholeLineButApostrophes) {
    EXPECT_EQ(namesIn("D'Arcy\n   \n Jean, Marie\t;\n''\nO'Neil'\n"),
              QStringList({"DArcy", "   ", " Jean, Marie\t;", "ONeil"}));
}

TEST(NameFileReader, CutsLongNamesAtFiftyCharactersNeverInsideOne) {
    const QByteArray eighty(80, 'x');
    EXPECT_EQ(namesIn(eighty + "\nAnne"), QStringList({QString(50, u'x'), "Anne"}));
    // Apostrophes go before the cut: they do not count.
    EXPECT_EQ(namesIn(QByteArray(10, '\'') + eighty), QStringList{QString(50, u'x')});
    // 49 letters then a character outside the BMP: it stays whole as the fiftieth.
    const QByteArray clef = "\xf0\x9d\x84\x9e"; // U+1D11E
    const QStringList cut = namesIn(QByteArray(49, 'a') + clef + clef + "b");
    ASSERT_EQ(cut.size(), 1);
    EXPECT_EQ(cut[0], QString(49, u'a') + QString::fromUtf8(clef));
}

TEST(NameFileReader, ReadsALineOfManyMegabytesAsOneShortName) {
    QByteArray huge(8 * 1024 * 1024, 'n');
    huge.prepend("Zoé\n");
    huge.append("\nAnne");
    EXPECT_EQ(namesIn(huge), QStringList({"Zoé", QString(50, u'n'), "Anne"}));
}

TEST(NameFileReader, SettlesTheEncodingByMarkOrByContent) {
    EXPECT_EQ(namesIn("\xEF\xBB\xBFH\xC3\xA9l\xC3\xA8ne\nAnne"), QStringList({"Hélène", "Anne"}));
    EXPECT_EQ(namesIn(QByteArray("\xFF\xFEH\0\xE9\0l\0\xE8\0n\0e\0\r\0\n\0A\0", 20)), QStringList({"Hélène", "A"}));
    EXPECT_EQ(namesIn(QByteArray("\xFE\xFF\0H\0\xE9\0\n\x01\x53", 10)), QStringList({"Hé", "œ"}));
    // A file that ends inside a character is no UTF-8.
    EXPECT_EQ(namesIn("Zo\xC3"), QStringList{"ZoÃ"});
    // Old Windows files: Windows-1252, its 0x80 to 0x9F range included.
    EXPECT_EQ(namesIn("H\xE9l\xE8ne\n\x8C"
                      "dipe \x80"),
              QStringList({"Hélène", "Œdipe €"}));
    // Without a mark each line is read on its own: a stray byte spoils only its line, whatever the
    // line ends, and wherever the reads of the file end (a line past 64 KB is judged by its start).
    const QByteArray good = QByteArray("H\xC3\xA9l\xC3\xA8ne\n").repeated(6000);
    const QStringList goodNames = namesIn(good);
    ASSERT_EQ(goodNames.size(), 6000);
    EXPECT_EQ(namesIn(good + "Caf\xE9\n" + good), goodNames + QStringList{"Café"} + goodNames);
    EXPECT_EQ(namesIn("Caf\xE9\rZo\xC3\xAB\r\nH\xC3\xA9l\xC3\xA8ne\xFF"), QStringList({"Café", "Zoë", "HÃ©lÃ¨neÿ"}));
    EXPECT_EQ(namesIn(QByteArray(100'000, 'e') + "\xE9\nZo\xC3\xAB"), QStringList({QString(50, u'e'), "Zoë"}));
    EXPECT_EQ(namesIn("\xC3\xA9" + QByteArray(100'000, 'e') + "\xE9\n\xE9" + QByteArray(100'000, 'e') + "\xC3\xA9"),
              QStringList({u'é' + QString(49, u'e'), u'é' + QString(49, u'e')}));
    // A character split between two reads of the file stays whole.
    EXPECT_EQ(namesIn(QByteArray(64 * 1024 - 1, '\n') + "\xC3\xA9mile"), QStringList{"émile"});
}

TEST(NameFileReader, WhereTheReadsOfTheFileEndChangesNoName) {
    // A faulty character cut by the end of a read, in a file marked UTF-8: the letter after it is
    // kept, as it is when the same bytes lie inside one read.
    // After the mark the file is read in pieces of 64 KB.
    const QByteArray faulty = "\xEF\xBB\xBF" + QByteArray(64 * 1024 - 2, '\n') + "\xEF\xBBHl\xC3\xA8ne";
    EXPECT_EQ(namesIn(faulty), QStringList{QStringLiteral("\uFFFD\uFFFDHlène")});
    // UTF-16 with a surrogate pair cut by the end of a read.
    const QByteArray utf16 =
        "\xFF\xFE" + QByteArray(" \0", 2).repeated(32 * 1024 - 2) + QByteArray("\n\0\x3D\xD8\x00\xDEZ\0", 8);
    EXPECT_EQ(namesIn(utf16), QStringList({QString(50, u' '), QStringLiteral("\U0001F600Z")}));
}

// A file is judged by its first 64 KB: a NUL there makes it no text file, one past them only makes
// its line no name, as any control character does; UTF-16 and UTF-32 files, which hold NULs, are
// judged by their byte-order mark. Whatever the encoding, a name is kept in form C.
TEST(NameFileReader, TheFirst64KBJudgeTheFileAndControlCharactersTheirLine) {
    const auto refused = [](const QByteArray& bytes) {
        try {
            namesIn(bytes);
            return false;
        } catch (const AppError& error) {
            return error.message() == notATextFile();
        }
    };
    const QByteArray lines = QByteArray("Anne\n").repeated(13107); // 65,535 bytes
    EXPECT_TRUE(refused(lines + QByteArray(1, '\0') + "\nZo\xc3\xa9\n")) << "a NUL as the 65,536th byte";
    EXPECT_FALSE(refused(lines + "\n" + QByteArray(1, '\0') + "\nZo\xc3\xa9\n")) << "a NUL as the 65,537th byte";
    QBuffer buffer;
    static const char kTail[] = "\nMa\0rc\nJe\x01"
                                "an\nL\x7f"
                                "ea\nZo\xc3\xa9\n\tTab\n";
    buffer.setData(lines + QByteArray(kTail, sizeof kTail - 1));
    buffer.open(QIODevice::ReadOnly);
    NameFileReader reader(buffer);
    QStringList names;
    while (const auto name = reader.next())
        names << *name;
    EXPECT_EQ(names.size(), 13107 + 2);
    EXPECT_EQ(names.mid(13107), QStringList({"Zoé", "\tTab"}));
    EXPECT_EQ(reader.skippedLines(), 3);

    const QString cafe = QStringLiteral("Caf\u00e9");
    EXPECT_EQ(namesIn(QByteArray("\xFF\xFE\0\0C\0\0\0a\0\0\0f\0\0\0e\0\0\0\x01\x03\0\0", 24)), QStringList{cafe});
    EXPECT_EQ(namesIn(QByteArray("\0\0\xFE\xFF\0\0\0C\0\0\0a\0\0\0f\0\0\0\xE9", 20)), QStringList{cafe});
    // Half a surrogate pair in UTF-16 is no name.
    EXPECT_EQ(namesIn(QByteArray("\xFF\xFEx\0\x3D\xD8\n\0y\0", 10)), QStringList{"y"});
}

TEST(NameFileReader, ADeviceThatHandsOutFewBytesAtATimeGivesTheSameNames) {
    // A device that hands out one byte per read.
    class Trickle : public QBuffer {
    protected:
        qint64 readData(char* data, qint64 size) override { return QBuffer::readData(data, std::min<qint64>(size, 1)); }
    };
    for (const QByteArray& bytes : {QByteArray("\xFF\xFEJ\0e\0\n\0", 8),
                                    QByteArray("\xEF\xBB\xBFZo\xC3\xA9\r\nL\xC3\xA9"
                                               "a"),
                                    QByteArray("H\xE9l\xE8ne\r\nAnne")}) {
        Trickle device;
        device.setData(bytes);
        device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        NameFileReader reader(device);
        QStringList names;
        while (const auto name = reader.next())
            names << *name;
        EXPECT_EQ(names, namesIn(bytes)) << bytes.toHex().toStdString();
        EXPECT_FALSE(names.isEmpty());
    }
}

TEST(NameFileReader, AReadFailureIsThrownWithTheSystemsMessage) {
    // With a byte-order mark the names are read in a single pass, so the failure comes part-way.
    QByteArray names = "\xEF\xBB\xBF";
    for (int i = 0; i < 50'000; ++i)
        names += "Anne\n";
    FailingDevice device(names, 100'000);
    device.open(QIODevice::ReadOnly);
    NameFileReader reader(device);
    int read = 0;
    try {
        while (reader.next())
            ++read;
        FAIL() << "the failure went unnoticed";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Input/output error"));
    }
    EXPECT_GT(read, 10'000);
}

// Every character that makes a line no name (each C0 control but NUL, the tab and the line ends, DEL,
// each C1 control, each of the 66 noncharacters) at the start, inside and at the end of a line, and
// followed by an accented letter, a tab or a pair: every such line is passed over and counted, in
// UTF-8 and UTF-16 alike, and the lines between them are kept. Names written decomposed with each
// combining mark U+0300 to U+036F come out as Python's unicodedata.normalize("NFC", …) makes them.
TEST(NameFileReader, EveryForbiddenCharacterSpoilsItsLineAndEveryMarkComposes) {
    QList<char32_t> forbidden;
    // A NUL makes a UTF-8 file no text file at all (see above).
    for (char32_t c = 1; c < 0x20; ++c)
        if (c != U'\t' && c != U'\n' && c != U'\r')
            forbidden << c;
    for (char32_t c = 0x7F; c <= 0x9F; ++c)
        forbidden << c;
    for (char32_t c = 0xFDD0; c <= 0xFDEF; ++c)
        forbidden << c;
    for (char32_t plane = 0; plane <= 0x10; ++plane)
        forbidden << (plane << 16 | 0xFFFE) << (plane << 16 | 0xFFFF);
    ASSERT_EQ(forbidden.size(), 28 + 33 + 66);
    const QStringList followers = {QStringLiteral("\u00e9"), QStringLiteral("\t"), QStringLiteral("\U0001F600")};
    QString text;
    int spoilt = 0;
    for (const char32_t c : forbidden) {
        const QString bad = QString::fromUcs4(&c, 1);
        for (const QString& after : followers) {
            for (const QString& line : {bad + after + QStringLiteral("Anne"), QStringLiteral("An") + bad + after + u'e',
                                        QStringLiteral("Anne") + after + bad}) {
                text += line + QStringLiteral("\nKept\n");
                ++spoilt;
            }
        }
    }
    QStringList decomposed;
    for (char16_t mark = 0x300; mark <= 0x36F; ++mark)
        for (const char* base : {"e", "A", "o"})
            decomposed << QLatin1String(base) + QChar(mark) + QStringLiteral("x");
    text += decomposed.join(u'\n');

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys, unicodedata\n"
                                                       "for l in sys.stdin.read().split('\\n'):\n"
                                                       "    print(unicodedata.normalize('NFC', l))")});
    python.write(decomposed.join(u'\n').toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished(60'000));
    const QStringList composed = QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(composed.size(), decomposed.size());

    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    for (const QByteArray& bytes : {text.toUtf8(), utf16}) {
        const auto [names, skipped] = readAll(bytes);
        EXPECT_EQ(skipped, spoilt);
        EXPECT_EQ(names, QStringList(spoilt, QStringLiteral("Kept")) + composed);
    }
}
