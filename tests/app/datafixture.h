#pragma once
// Small encrypted databases in a temporary folder, for the data tests.

#include "app/data/connection.h"
#include "app/data/databasefile.h"
#include "app/data/tdata.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

namespace pemvora::data::testing {

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pemvora-data-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs statements on an existing database with the program's password.
inline void runSql(const std::string& path, std::initializer_list<std::string> statements)
{
    Connection db;
    db.open(path, kDatabasePassword);
    for (const std::string& s : statements) db.execute(s);
}

// A cheque database with the six tables, the operator row and `statements` run on it.
inline std::string makeDatabase(const TempDir& dir, std::initializer_list<std::string> statements = {},
                                const std::string& name = "banck.mdb")
{
    const std::string path = dir.file(name);
    writeChequeDatabase(path, {});
    runSql(path, statements);
    return path;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace pemvora::data::testing
