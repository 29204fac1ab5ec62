// What the real quillory-cli does with every kind of thing a name can lead to, read or written:
// devices, pipes, links, planted files, read-only names and folders, closed streams, names that are
// not UTF-8, files that are no names database or no text, and broken birth counts. Each case is
// made in a folder of its own by the shell, as a script or a careless user would make it, and is
// judged by its status, its one line on standard error and what it leaves on disk.
#include "tempworkspace.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quillory::test {
namespace {

struct Case {
    const char* what;
    const char* arrange; // shell lines run first in the case's folder
    const char* run;     // the command judged
    int status;
    const char* line;   // in the first line on standard error; empty: nothing there
    const char* leaves; // shell test of the folder afterwards, which must succeed
    bool onlyAsRoot = false;
    bool neverAsRoot = false;
};

// The variables every case may use: Q the program, NAMES and BIRTHS the built files beside it, AS_USER
// a prefix that runs a command as a user who may not write the case's files (nobody, for root), LIMIT
// a memory limit for ulimit -v, and the function `program` that copies the program folder into ./prog.
const char kPrelude[] = R"sh(
set -o pipefail
program() { mkdir -p prog && cp "$Q" "$NAMES" "$BIRTHS" prog/ && chmod -R a+rX prog; }
)sh";

const Case kCases[] = {
    // Writing.
    {"a character device, as text and as a workbook", "mknod dev c 1 3",
     R"sh($Q -n 3 -o dev && $Q -n 3 --format xlsx -o dev)sh", 0, "",
     R"sh([ -c dev ] && [ "$(stat -c %t,%T dev)" = 1,3 ])sh", true},
    // The system's /dev/null is written only by a user who could not replace it, whatever the program did.
    {"/dev/null and /dev/stdout", "", R"sh($AS_USER $Q -n 3 -o /dev/null && $Q -n 3 -o /dev/stdout > out.txt)sh", 0, "",
     R"sh([ -c /dev/null ] && [ $(wc -l < out.txt) = 3 ])sh"},
    {"a named pipe and a process substitution", "mkfifo pipe",
     R"sh(cat pipe > got.txt & $Q -n 3 -o pipe && wait && $Q -n 2 -o >(cat > sub.txt) && wait $!)sh", 0, "",
     R"sh([ -p pipe ] && [ $(wc -l < got.txt) = 3 ] && [ $(wc -l < sub.txt) = 2 ])sh"},
    {"a link, and a planted .part of a workbook",
     "echo earlier > target; ln -s target link.txt; echo mine > b.xlsx.part; ln -s target c.xlsx.part",
     R"sh($Q -n 2 -o link.txt && $Q -n 2 --format xlsx -o b.xlsx && $Q -n 2 --format xlsx -o c.xlsx)sh", 0, "",
     R"sh([ -L link.txt ] && [ $(wc -l < target) = 2 ] && [ "$(cat b.xlsx.part)" = mine ] && [ -L c.xlsx.part ] &&
        [ -f b.xlsx ] && [ ! -L c.xlsx ] && [ $(ls -A | wc -l) = 6 ])sh"},
    {"a write-protected file, by root", "echo earlier > ro.txt; echo earlier > ro.xlsx; chmod 444 ro.txt ro.xlsx",
     R"sh($Q -n 2 -o ro.txt && $Q -n 2 --format xlsx -o ro.xlsx)sh", 0, "",
     R"sh([ "$(stat -c %a ro.txt ro.xlsx)" = "444
444" ] && [ $(wc -l < ro.txt) = 2 ] && [ $(ls -A | wc -l) = 2 ])sh",
     true},
    {"a write-protected file, by its owner", "echo earlier > ro.xlsx; chmod 444 ro.xlsx",
     R"sh($Q -n 2 --format xlsx -o ro.xlsx)sh", 1, "ro.xlsx: Permission denied",
     R"sh([ "$(cat ro.xlsx)" = earlier ] && [ $(ls -A | wc -l) = 1 ])sh", false, true},
    {"a closed standard output", "", R"sh($Q -n 1 >&-)sh", 1, "standard output: Bad file descriptor", "true"},
    {"the names database, through a link", R"sh(cp "$NAMES" my.mdb; ln -s my.mdb alias.txt; md5sum my.mdb > sum)sh",
     R"sh($Q --database my.mdb -o alias.txt)sh", 2, "-o alias.txt: that is the names database my.mdb",
     R"sh(md5sum -c --quiet sum && [ -L alias.txt ] && [ $(ls -A | wc -l) = 3 ])sh"},
    {"file names that are not UTF-8", R"sh(printf 'Anne\nJos\351\n' > $'caf\xe9.txt')sh",
     R"sh($Q -n 2 --part first --first-names $'caf\xe9.txt' -o $'out\xff.txt')sh", 0, "",
     R"sh([ $(grep -c . $'out\xff.txt') = 2 ] && [ $(ls -A | wc -l) = 2 ])sh"},
    {"a program folder whose name is not UTF-8, and -o its names.mdb",
     R"sh(mkdir $'caf\xe9' && cp "$Q" "$NAMES" "$BIRTHS" $'caf\xe9'/ && md5sum $'caf\xe9'/names.mdb > sum)sh",
     R"sh(cd $'caf\xe9' && ./quillory-cli -n 2 > /dev/null && ./quillory-cli -n 2 -o names.mdb)sh", 2,
     "-o names.mdb: that is the names database", R"sh(md5sum -c --quiet sum)sh"},
    {"the user's own copy of the names, which this run does not read",
     R"sh(mkdir -p home/.local/share/Obrenna/Quillory && cp "$NAMES" home/.local/share/Obrenna/Quillory/ &&
        md5sum home/.local/share/Obrenna/Quillory/names.mdb > sum)sh",
     R"sh(env -u XDG_DATA_HOME HOME="$PWD/home" $Q -n 2 -o home/.local/share/Obrenna/Quillory/names.mdb)sh", 2,
     "that is the names database", R"sh(md5sum -c --quiet sum)sh"},
    {"a database the program does not know", R"sh(sqlite3 other.db "create table t (x)"; md5sum other.db > sum)sh",
     R"sh($Q -n 2 -o other.db)sh", 2, "-o other.db: that is a database, which is never written",
     R"sh(md5sum -c --quiet sum)sh"},
    {"a writable file in a folder that may not be written",
     "mkdir rofold; echo mine > rofold/f.txt; chmod 666 rofold/f.txt; chmod 555 rofold",
     R"sh($AS_USER $Q -n 2 -o rofold/f.txt)sh", 1, "rofold: cannot make a file here to replace rofold/f.txt safely",
     R"sh([ "$(cat rofold/f.txt)" = mine ] && [ "$(ls -A rofold)" = f.txt ])sh"},
    {"a temporary folder that may not be written, or none named", "mkdir -m 555 nowhere",
     R"sh(TMPDIR=$PWD/nowhere $AS_USER $Q -n 2 --format xlsx -o /dev/null && TMPDIR= $AS_USER $Q -n 2 --format xlsx -o /dev/null)sh",
     0, "", R"sh([ -z "$(ls -A nowhere)" ])sh"},
    {"the largest count, to a reader that stops", "", R"sh($Q -n 2147483647 | head -1 > one.txt)sh", 0, "",
     R"sh([ $(wc -l < one.txt) = 1 ])sh"},
    // Reading.
    {"an empty file as the database", ": > empty.mdb", R"sh($Q --database empty.mdb)sh", 1,
     "empty.mdb: not a names database", R"sh([ ! -s empty.mdb ] && [ $(ls -A) = empty.mdb ])sh"},
    {"a database made by the sqlite3 tool",
     R"sh(sqlite3 tool.mdb "create table system_mfirstname (Mfirst text); create table system_ffirstname (Ffirst text);
        create table system_lastname (Last text); create table user_firstname (firstname text);
        create table user_lastname (lastname text); insert into system_ffirstname values ('Anne');
        insert into system_lastname values ('Martin')"; md5sum tool.mdb > sum)sh",
     R"sh([ "$($Q --database tool.mdb -n 2)" = "Anne Martin
Anne Martin" ])sh",
     0, "", R"sh(md5sum -c --quiet sum && [ $(ls -A | wc -l) = 2 ])sh"},
    {"a database in a folder its reader may not write",
     R"sh(mkdir ro; cp "$NAMES" ro/; chmod 444 ro/*; chmod 555 ro)sh",
     R"sh($AS_USER $Q --database ro/names.mdb -n 3 > out.txt)sh", 0, "",
     R"sh([ "$(ls -A ro)" = names.mdb ] && [ $(wc -l < out.txt) = 3 ])sh"},
    {"an installed program, run by a user without a home", "program; : > prog/INSTALLED",
     R"sh(HOME=/nonexistent $AS_USER prog/quillory-cli -n 3 > out.txt &&
        $AS_USER prog/quillory-cli --database prog/names.mdb -n 1 >> out.txt)sh",
     0, "", R"sh([ ! -e /nonexistent ] && [ $(wc -l < out.txt) = 4 ] && [ $(ls -A prog | wc -l) = 4 ])sh"},
    {"endless bytes from a device", "", R"sh(ulimit -v $LIMIT; $Q --part first --first-names /dev/zero)sh", 1,
     "/dev/zero: Not a text file", "true"},
    {"a UTF-32 file with a control character and one name in two forms",
     R"sh(printf 'Caf\u00e9\nCafe\u0301\nJe\001an\n' | iconv -f UTF-8 -t UTF-32 > u32.txt)sh",
     R"sh($Q --part first --unique -n 1 --first-names u32.txt > out.txt)sh", 0, "u32.txt: 1 line passed over",
     R"sh([ "$(cat out.txt)" = Café ] && { $Q --part first --unique -n 2 --first-names u32.txt 2> /dev/null; [ $? = 2 ]; })sh"},
    {"births.tsv as a named pipe", "program; rm prog/births.tsv; mkfifo prog/births.tsv",
     R"sh(timeout 20 prog/quillory-cli --weighted -n 1)sh", 1, "births.tsv: Not a regular file", "true"},
    {"births.tsv as a link to endless bytes", "program; ln -sf /dev/zero prog/births.tsv",
     R"sh(ulimit -v $LIMIT; timeout 20 prog/quillory-cli --weighted -n 1)sh", 1, "births.tsv: Not a regular file",
     "true"},
    {"a database in log mode with changes in its log and no shared-memory file",
     R"sh(mkdir ro && cp "$NAMES" live.mdb && python3 -c '
import shutil, sqlite3
c = sqlite3.connect("live.mdb")
c.execute("pragma journal_mode = wal"); c.execute("pragma wal_autocheckpoint = 0")
c.execute("delete from user_firstname"); c.execute("insert into user_firstname values (\"Walter\")"); c.commit()
shutil.copy("live.mdb", "ro/names.mdb"); shutil.copy("live.mdb-wal", "ro/names.mdb-wal")' &&
        chmod 444 ro/*; chmod 555 ro; md5sum ro/* > sum)sh",
     R"sh([ "$($AS_USER $Q --database ro/names.mdb --source user --part first -n 2 && $Q --database ro/names.mdb --source user --part first -n 1)" = "Walter
Walter
Walter" ])sh",
     0, "", R"sh(md5sum -c --quiet sum && [ "$(ls -A ro | tr '\n' ' ')" = "names.mdb names.mdb-wal " ])sh"},
    {"an empty births.tsv", "program; : > prog/births.tsv", R"sh(prog/quillory-cli --weighted -n 1)sh", 1,
     "births.tsv: no birth counts", "true"},
    {"births past what a draw can weigh",
     R"sh(program; printf 'l\tMartin\t%s\n' 4611686018427387904 4611686018427387904 > prog/births.tsv)sh",
     R"sh(prog/quillory-cli --weighted -n 1)sh", 1, "births.tsv:2: the births add up to more than a draw can weigh",
     "true"},
    {"a births row of impossible years",
     R"sh(program; sqlite3 prog/names.mdb "insert into system_firstnamebirths values
        ('Anne', 'F', -9223372036854775808, 9223372036854775807, 5)")sh",
     R"sh(prog/quillory-cli --born 2000 -n 1)sh", 1, "not a count of births", "true"},
    // The command line.
    {"a mistyped option", "", R"sh($Q --cuont 3)sh", 2,
     "quillory-cli: unknown option '--cuont'; did you mean '--count'?", "true"},
    {"an empty value", "", R"sh($Q -o '')sh", 2, "quillory-cli: empty value for --output", "true"},
    {"a list that cannot act", "", R"sh($Q --part first --last-names nowhere.txt)sh", 2,
     "--last-names gives last names, and --part first draws none", "true"},
};

TEST(FileSafetyTest, EveryTargetAndSourceIsHandledWithoutLoss) {
    TempWorkspace workspace;
    // Somewhere anyone may reach: the cases run some commands as another user.
    const QString bin = workspace.path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QDir built = QFileInfo(QStringLiteral(QUILLORY_CLI)).dir();
    for (const char* file : {"quillory-cli", "names.mdb", "births.tsv"})
        ASSERT_TRUE(QFile::copy(built.filePath(QLatin1String(file)), bin + u'/' + QLatin1String(file)));
    QFile::setPermissions(bin + QStringLiteral("/quillory-cli"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther |
                              QFile::ReadGroup | QFile::ExeGroup);
    QFile::setPermissions(workspace.root(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    const bool root = ::geteuid() == 0;

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("Q"), bin + QStringLiteral("/quillory-cli"));
    environment.insert(QStringLiteral("NAMES"), bin + QStringLiteral("/names.mdb"));
    environment.insert(QStringLiteral("BIRTHS"), bin + QStringLiteral("/births.tsv"));
    environment.insert(QStringLiteral("AS_USER"),
                       root ? QStringLiteral("setpriv --reuid=65534 --regid=65534 --clear-groups --") : QString());
#if defined(__SANITIZE_ADDRESS__)
    environment.insert(QStringLiteral("LIMIT"), QStringLiteral("unlimited")); // the sanitizer reserves terabytes
#else
    environment.insert(QStringLiteral("LIMIT"), QStringLiteral("500000")); // 500 MB
#endif

    int number = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        if ((c.onlyAsRoot && !root) || (c.neverAsRoot && root)) {
            std::printf("[   SKIP   ] %s: %s\n", c.what, root ? "root may write anything" : "only root makes devices");
            continue;
        }
        const QString folder = workspace.path(QStringLiteral("case%1").arg(++number));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        const auto shell = [&](const char* script) {
            QProcess bash;
            bash.setWorkingDirectory(folder);
            bash.setProcessEnvironment(environment);
            bash.start(QStringLiteral("/bin/bash"),
                       {QStringLiteral("-c"), QString::fromUtf8(kPrelude) + QString::fromUtf8(script)});
            bash.waitForFinished(60'000);
            return std::tuple{bash.exitStatus() == QProcess::NormalExit ? bash.exitCode() : -1,
                              QString::fromUtf8(bash.readAllStandardError())};
        };
        const auto [arranged, arrangeErrors] = shell(c.arrange);
        ASSERT_EQ(arranged, 0) << arrangeErrors.toStdString();

        const auto [status, errors] = shell(c.run);
        EXPECT_EQ(status, c.status) << errors.toStdString();
        QStringList lines = errors.split(u'\n', Qt::SkipEmptyParts);
        if (c.status == 2 && lines.size() == 2 &&
            lines[1] == QStringLiteral("Try 'quillory-cli --help' for more information."))
            lines.removeLast();
        if (*c.line == '\0') {
            EXPECT_TRUE(lines.isEmpty()) << errors.toStdString();
        } else {
            EXPECT_EQ(lines.size(), 1) << errors.toStdString();
            EXPECT_TRUE(lines.value(0).startsWith(QStringLiteral("quillory-cli: ")) &&
                        lines.value(0).contains(QString::fromUtf8(c.line)))
                << errors.toStdString();
        }
        const auto [left, leftErrors] = shell(c.leaves);
        EXPECT_EQ(left, 0) << "what is left: " << c.leaves << "\n" << leftErrors.toStdString();
    }
    QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+w"), workspace.root()});
}

} // namespace
} // namespace quillory::test
