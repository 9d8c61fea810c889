// Opening the encrypted database: the file is unreadable without the password,
// and every way opening can fail ends in a clear error, never a new file.

#include "app/data/connection.h"
#include "app/data/tdata.h"
#include "datafixture.h"

#include <sqlcipher/sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>

using namespace pemvora;
using namespace pemvora::data;
using namespace pemvora::data::testing;
using ::testing::HasSubstr;

namespace {

struct CommandResult {
    int exitCode = -1;
    std::string output;   // stdout and stderr together
};

CommandResult runCommand(const std::string& command)
{
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 512> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe)) result.output += buffer.data();
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool haveProgram(const std::string& name)
{
    return runCommand("command -v " + name).exitCode == 0;
}

DbErrorKind openFailure(const std::string& path, const std::string& password, int busyMs = 100)
{
    Connection db;
    try {
        db.open(path, password, Connection::Mode::Existing, busyMs);
    } catch (const DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr(path));
        EXPECT_FALSE(db.isOpen());
        return e.kind();
    }
    ADD_FAILURE() << "opening " << path << " succeeded";
    return DbErrorKind::Other;
}

} // namespace

TEST(Connection, OpensWithThePasswordAndReads)
{
    TempDir dir;
    const std::string path = makeDatabase(dir);
    Connection db;
    db.open(path, kDatabasePassword);
    Statement stmt = db.prepare("SELECT user_name, password FROM admin");
    ASSERT_TRUE(stmt.step());
    EXPECT_EQ(stmt.value(0), Value("admin"));
    EXPECT_EQ(stmt.value(1), Value("579"));
}

TEST(Connection, FileIsEncrypted)
{
    TempDir dir;
    const std::string path = makeDatabase(dir);
    // An unencrypted SQLite file starts with its format string in clear.
    EXPECT_NE(readFile(path).substr(0, 15), "SQLite format 3");
    EXPECT_EQ(readFile(path).find("admin"), std::string::npos);
}

TEST(Connection, PlainClientCannotReadButSqlcipherWithPasswordCan)
{
    if (!haveProgram("sqlite3") || !haveProgram("sqlcipher"))
        GTEST_SKIP() << "the sqlite3 or sqlcipher command-line client is not installed";
    TempDir dir;
    const std::string path = makeDatabase(dir);

    const CommandResult plain = runCommand("sqlite3 '" + path + "' 'SELECT user_name FROM admin;'");
    EXPECT_NE(plain.exitCode, 0);
    EXPECT_THAT(plain.output, HasSubstr("not a database"));
    EXPECT_THAT(plain.output, ::testing::Not(HasSubstr("admin")));

    const std::string keyed = std::string("printf \"PRAGMA key='") + kDatabasePassword +
                              "';\\nSELECT user_name || '/' || password FROM admin;\\n\" | sqlcipher '" +
                              path + "'";
    const CommandResult cipher = runCommand(keyed);
    EXPECT_EQ(cipher.exitCode, 0) << cipher.output;
    EXPECT_THAT(cipher.output, HasSubstr("admin/579"));

    const std::string wrongKey = "printf \"PRAGMA key='quendr7252';\\nSELECT user_name FROM admin;\\n\" "
                                 "| sqlcipher '" + path + "'";
    EXPECT_THAT(runCommand(wrongKey).output, ::testing::Not(HasSubstr("admin")));
}

TEST(Connection, OpenFailuresAreNamedAndCreateNothing)
{
    TempDir dir;
    const std::string good = makeDatabase(dir);
    const std::string goodBytes = readFile(good);

    // A plain (unencrypted) SQLite database and a text file.
    const std::string plain = dir.file("plain.mdb");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(plain.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE admin (id INTEGER, user_name TEXT, password TEXT)", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
    }
    const std::string text = dir.file("notes.mdb");
    std::ofstream(text) << "this is not a database at all, just some text in a file\n";

    struct Case { std::string path; std::string password; DbErrorKind kind; };
    const Case cases[] = {
        {dir.file("missing.mdb"), kDatabasePassword, DbErrorKind::MissingFile},
        {dir.file("no-such-folder/banck.mdb"), kDatabasePassword, DbErrorKind::MissingFile},
        {good, "quendr7252", DbErrorKind::NotADatabase},
        {good, "", DbErrorKind::NotADatabase},
        {plain, kDatabasePassword, DbErrorKind::NotADatabase},
        {text, kDatabasePassword, DbErrorKind::NotADatabase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " / " + c.password);
        EXPECT_EQ(openFailure(c.path, c.password), c.kind);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mdb")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
    EXPECT_EQ(readFile(good), goodBytes);
}

TEST(Connection, LockedFileIsReportedAsLocked)
{
    TempDir dir;
    const std::string path = makeDatabase(dir);
    Connection holder;
    holder.open(path, kDatabasePassword);
    holder.execute("BEGIN EXCLUSIVE");
    holder.execute("INSERT INTO YT (ytmc, ytdh) VALUES ('x', 1)");

    Connection db;
    try {
        db.open(path, kDatabasePassword, Connection::Mode::Existing, 50);
        FAIL() << "a locked file opened";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Locked);
        EXPECT_THAT(e.what(), HasSubstr("locked"));
    }
    holder.execute("ROLLBACK");
    db.open(path, kDatabasePassword, Connection::Mode::Existing, 50);
    EXPECT_TRUE(db.isOpen());
}

TEST(Connection, OnlyOneStatementAtATime)
{
    TempDir dir;
    Connection db;
    db.open(makeDatabase(dir), kDatabasePassword);
    EXPECT_THROW(db.prepare("SELECT 1; DELETE FROM admin"), DatabaseError);
    EXPECT_NO_THROW(db.prepare("SELECT 1 ;  "));
    Statement count = db.prepare("SELECT count(*) FROM admin");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.value(0), Value(1));
}

TEST(TDataOpening, MissingWrongOrLockedFileThrowsAndCreatesNothing)
{
    TempDir dir;
    const std::string missing = dir.file("banck.mdb");
    try {
        TData data(missing);
        FAIL() << "opened a missing database";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.kind(), DbErrorKind::MissingFile);
        EXPECT_THAT(e.what(), HasSubstr("does not exist"));
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::string path = makeDatabase(dir, {}, "other.mdb");
    runSql(path, {"PRAGMA rekey = 'another1'"});
    EXPECT_THROW(TData{path}, DatabaseError);

    // A database without the cheque tables names the missing table.
    const std::string empty = dir.file("empty.mdb");
    { Connection c; c.open(empty, kDatabasePassword, Connection::Mode::CreateNew); c.execute("CREATE TABLE t (a)"); }
    try {
        TData data(empty);
        FAIL() << "opened a database without tables";
    } catch (const DatabaseError& e) {
        EXPECT_THAT(e.what(), HasSubstr("no such table: ZPJE"));
        EXPECT_THAT(e.what(), HasSubstr(empty));
    }
}
