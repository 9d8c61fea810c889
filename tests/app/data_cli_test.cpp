// pemvora-cli make-db and cheques, run as the user runs them.

#include "app/data/connection.h"
#include "app/data/tdata.h"
#include "tests/app/clirun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

using namespace pemvora::data;
using namespace pemvora::data::testing;
using ::testing::HasSubstr;

TEST(CliMakeDb, WritesNeverOverwritesWithoutForce)
{
    TempDir dir;
    const CliRun made = cli(dir, "make-db banck.mdb");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    {
        TData data(dir.file("banck.mdb"));
        EXPECT_TRUE(data.login("admin", "579"));
        EXPECT_EQ(data.ZPJE.recordCount(), 0);
        EXPECT_EQ(data.BANCK.recordCount(), 0);
    }
    const std::string before = readFile(dir.file("banck.mdb"));

    const CliRun again = cli(dir, "make-db banck.mdb --demo");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.err, HasSubstr("exists already"));
    EXPECT_EQ(readFile(dir.file("banck.mdb")), before);

    const CliRun forced = cli(dir, "make-db banck.mdb --demo --force");
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    TData data(dir.file("banck.mdb"));
    EXPECT_EQ(data.BANCK.recordCount(), 5);
    // Only the database itself is left in the folder (no temporary files).
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename() != "stderr.txt") ++files;
    EXPECT_EQ(files, 1);

    EXPECT_EQ(cli(dir, "make-db").exitCode, 2);   // no PATH: bad usage
    const CliRun noFolder = cli(dir, "make-db missing/banck.mdb");
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_THAT(noFolder.err, HasSubstr("does not exist"));
}

TEST(CliMakeDb, DemoHasOneBankPerTemplateAndUsablePayees)
{
    TempDir dir;
    ASSERT_EQ(cli(dir, "make-db banck.mdb --demo").exitCode, 0);
    TData data(dir.file("banck.mdb"));
    std::vector<std::string> forms;
    for (data.BANCK.first(); !data.BANCK.eof(); data.BANCK.next()) {
        forms.push_back(data.BANCK.text("bank_mb"));
        EXPECT_FALSE(data.BANCK.text(1).empty());   // every bank has an account number
    }
    EXPECT_EQ(forms, (std::vector<std::string>{"工商银行", "建设银行", "农业银行", "信用联社", "其他"}));
    EXPECT_EQ(data.ZPYT.recordCount(), 6);
    for (data.addw.first(); !data.addw.eof(); data.addw.next()) EXPECT_FALSE(data.addw.text("dwjm").empty());
    EXPECT_EQ(data.addw.recordCount(), 7);
    EXPECT_EQ(data.newPayeeId(), 8);
    EXPECT_EQ(data.SYDW.text("uses_dwmc"), "北京瑞丰科技有限公司");
    EXPECT_EQ(data.ZPJE.recordCount(), 7);
}

TEST(CliCheques, ListsTheDemoCheques)
{
    TempDir dir;
    ASSERT_EQ(cli(dir, "make-db banck.mdb --demo").exitCode, 0);
    const CliRun run = cli(dir, "cheques");   // banck.mdb in the current folder
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto out = lines(run.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0], "支票号码\t出票日期\t金额\t类型\t付款行\t用途\t收款单位");
    EXPECT_EQ(out[1], "10203301\t2008-03-05\t2045.67\t转帐\t工商银行北京海淀支行\t货款\t北京华联商厦有限公司");
    EXPECT_EQ(out[2], "10203302\t2008-03-10\t8000.00\t现金\t工商银行北京海淀支行\t工资\t北京瑞丰科技有限公司");
    for (const std::string& line : out) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 6) << line;

    // --db takes a path relative to the current folder, or an absolute one.
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::copy_file(dir.file("banck.mdb"), dir.path() / "sub" / "copy.mdb");
    EXPECT_EQ(cli(dir, "cheques --db sub/copy.mdb").out, run.out);
    EXPECT_EQ(cli(dir, "cheques --db '" + dir.file("banck.mdb") + "'").out, run.out);
}

TEST(CliCheques, DatabaseErrorsExitOneWithAMessage)
{
    TempDir dir;
    const CliRun missing = cli(dir, "cheques");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.err, HasSubstr("banck.mdb' does not exist"));
    EXPECT_TRUE(missing.out.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("banck.mdb")));

    const std::string path = makeDatabase(dir, {}, "other.mdb");
    runSql(path, {"PRAGMA rekey = 'not-the-password'"});
    const CliRun wrong = cli(dir, "cheques --db other.mdb");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_THAT(wrong.err, HasSubstr("password is wrong"));
    EXPECT_TRUE(wrong.out.empty());
}

// A process id that no process has any more: a child that has ended.
static pid_t endedProcess()
{
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST(CliMakeDb, RemovesTheTemporariesOfWritesThatWereKilledAndNothingElse)
{
    TempDir dir;
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(getpid());
    const std::vector<std::string> stale = {
        "banck.mdb.tmp-" + dead + "-0123abcd",
        "banck.mdb.tmp-" + dead + "-0123abcd-journal",
        "banck.mdb.tmp-" + dead + "-89ABCDEF-wal",
    };
    const std::vector<std::string> kept = {
        "banck.mdb.tmp-" + alive + "-0123abcd",           // a write still at work
        "banck.mdb.tmp-" + alive + "-0123abcd-journal",
        "other.mdb.tmp-" + dead + "-0123abcd",            // another file's
        "banck.mdb.tmp-" + dead + "-notours",              // not a name of ours
        "banck.mdb.tmp-0123abcd",
        "notes.txt",
    };
    for (const std::string& name : stale) std::ofstream(dir.file(name)) << "x";
    for (const std::string& name : kept) std::ofstream(dir.file(name)) << "x";

    const CliRun made = cli(dir, "make-db banck.mdb");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    EXPECT_TRUE(std::filesystem::exists(dir.file("banck.mdb")));
}

TEST(CliCheques, AnEmptyFileIsNotAChequeDatabase)
{
    TempDir dir;
    std::ofstream(dir.file("banck.mdb")).close();
    const CliRun run = cli(dir, "cheques");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("is not a cheque database"));
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(std::filesystem::file_size(dir.file("banck.mdb")), 0u);
}
