#pragma once
// Runs the built pemvora-cli (PEMVORA_CLI, set by the test's target) with the
// arguments, headless and without system printers, and collects what it wrote.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <string>

namespace pemvora::clitest {

struct CliRun {
    int exitCode = -1;
    bool crashed = false;
    std::string out, err;
};

inline CliRun cli(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PEMVORA_PRINTERS", "none");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PEMVORA_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.exitStatus() == QProcess::CrashExit, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

} // namespace pemvora::clitest
