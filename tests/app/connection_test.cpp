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
#include <optional>

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

// Every way opening can fail, for the connection and for the data module that
// opens it with the program's password: a clear error of its kind that names
// the file, no file made where there was none, nothing changed in a file that
// could not be read. A locked file opens once it is free again.
TEST(Opening, FailuresAreNamedAndCreateNothing)
{
    TempDir dir;
    const std::string good = makeDatabase(dir);
    const std::string goodBytes = readFile(good);

    const std::string rekeyed = makeDatabase(dir, {}, "rekeyed.mdb");
    runSql(rekeyed, {"PRAGMA rekey = 'another1'"});
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
    // Encrypted with the program's password, but without the cheque tables.
    const std::string noTables = dir.file("empty.mdb");
    {
        Connection c;
        c.open(noTables, kDatabasePassword, Connection::Mode::CreateNew);
        c.execute("CREATE TABLE t (a)");
    }
    const std::string locked = makeDatabase(dir, {}, "locked.mdb");

    using Kind = std::optional<DbErrorKind>;
    struct Case {
        std::string path;
        std::string password;     // the connection's; the data module always uses its own
        Kind connection;          // nullopt: the connection opens
        Kind dataModule;          // nullopt: not tried (the case is about another password)
        const char* text;         // in the message of each that fails
    };
    const Case cases[] = {
        {dir.file("missing.mdb"), kDatabasePassword, DbErrorKind::MissingFile, DbErrorKind::MissingFile,
         "does not exist"},
        {dir.file("no-such-folder/banck.mdb"), kDatabasePassword, DbErrorKind::MissingFile,
         DbErrorKind::MissingFile, "does not exist"},
        {good, "quendr7252", DbErrorKind::NotADatabase, std::nullopt, "password is wrong"},
        {good, "", DbErrorKind::NotADatabase, std::nullopt, "password is wrong"},
        {rekeyed, kDatabasePassword, DbErrorKind::NotADatabase, DbErrorKind::NotADatabase, "password is wrong"},
        {plain, kDatabasePassword, DbErrorKind::NotADatabase, DbErrorKind::NotADatabase, "password is wrong"},
        {text, kDatabasePassword, DbErrorKind::NotADatabase, DbErrorKind::NotADatabase, "password is wrong"},
        {noTables, kDatabasePassword, std::nullopt, DbErrorKind::Other, "no such table: ZPJE"},
        {locked, kDatabasePassword, DbErrorKind::Locked, DbErrorKind::Locked, "locked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " / " + c.password);
        // Another program holds the locked file in a write transaction.
        Connection holder;
        if (c.path == locked) {
            holder.open(locked, kDatabasePassword);
            holder.execute("BEGIN EXCLUSIVE");
            holder.execute("DELETE FROM admin");
        }
        Connection db;
        try {
            db.open(c.path, c.password, Connection::Mode::Existing, 50);
            EXPECT_FALSE(c.connection) << "the connection opened";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.kind(), c.connection);
            EXPECT_THAT(e.what(), HasSubstr(c.text));
            EXPECT_THAT(e.what(), HasSubstr(c.path));
            EXPECT_FALSE(db.isOpen());
        }
        if (c.dataModule) {
            try {
                TData data(c.path, 50);
                ADD_FAILURE() << "the data module opened";
            } catch (const DatabaseError& e) {
                EXPECT_EQ(e.kind(), *c.dataModule);
                EXPECT_THAT(e.what(), HasSubstr(c.text));
                EXPECT_THAT(e.what(), HasSubstr(c.path));
            }
        }
        if (holder.isOpen()) {
            holder.execute("ROLLBACK");
            Connection freed;
            freed.open(locked, kDatabasePassword, Connection::Mode::Existing, 50);
            EXPECT_TRUE(freed.isOpen());
            TData data(locked, 50);
            EXPECT_EQ(data.users.recordCount(), 1);   // the holder's change was never written
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mdb")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
    EXPECT_EQ(readFile(good), goodBytes);
}
