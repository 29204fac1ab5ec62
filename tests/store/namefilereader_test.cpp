#include "core/apperror.h"
#include "store/namefilereader.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace quillory;

namespace {

QStringList namesIn(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    NameFileReader reader(buffer);
    QStringList names;
    while (const auto name = reader.next())
        names << *name;
    return names;
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
    // One byte that is not UTF-8 makes the whole file Windows-1252.
    EXPECT_EQ(namesIn("H\xC3\xA9l\xC3\xA8ne\n\xFF"), QStringList({"HÃ©lÃ¨ne", "ÿ"}));
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
