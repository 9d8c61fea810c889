// pemvora-cli on inputs that once crashed it or answered wrongly: each ends
// with a result, or with exit code 1 and the reason on standard error.

#include "tests/support/cli_process.h"
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using ::testing::HasSubstr;

using pemvora::clitest::cli;
using pemvora::clitest::CliRun;

QString nested(int depth)
{
    return QString(depth, '[') + "1" + QString(depth, ']');
}

void expectFailure(const QStringList& args, const std::string& reason)
{
    SCOPED_TRACE(args.join(' ').left(60).toStdString());
    const CliRun run = cli(args);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_THAT(run.err, HasSubstr(reason));
}

void expectOutput(const QStringList& args, const std::string& out)
{
    SCOPED_TRACE(args.join(' ').toStdString());
    const CliRun run = cli(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, out + "\n");
}

TEST(CliInputs, UnpairedDoubleQuotesFailWithTheReason)
{
    for (const char* expression : {"\"", "a\"", "1+\"", "\"\"\""})
        expectFailure({"eval", expression}, "Missing closing double quote");
}

TEST(CliInputs, BracketsNestedTenThousandDeepFailWithTheReason)
{
    expectFailure({"eval", nested(10000)}, "nested too deeply");
    expectFailure({"expand", nested(10000)}, "nested too deeply");
    expectOutput({"expand", nested(50)}, "1");
}

TEST(CliInputs, DateFormatsOfNumbersBeyondTheCalendarShowTheNumber)
{
    expectOutput({"expand", "[1e308 #T]"}, "1E308");
    expectOutput({"expand", "[9223372036854775808 #D]"}, "9.22337203685478E18");
}

TEST(CliInputs, ANumberBeyondTheDoubleRangeIsKeptAsText)
{
    expectOutput({"eval", "a", "a=1e400"}, "1e400");
    expectOutput({"expand", "[a]", "a=-1e400"}, "-1e400");
}

TEST(CliInputs, PaperSmallerThanTheUnprintableMarginsIsRefused)
{
    expectFailure({"paper-metrics", "256", "--size", "1", "1"}, "unprintable margins");
    expectFailure({"paper-metrics", "256", "--size", "2000", "50"}, "unprintable margins");
    const CliRun fits = cli({"paper-metrics", "256", "--size", "200", "200"});
    EXPECT_EQ(fits.exitCode, 0) << fits.err;
}

} // namespace
