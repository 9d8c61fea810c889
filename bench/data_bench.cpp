// Opening the cheque database and reading its first query (ZPJE), as the
// program does at start-up.

#include "app/data/connection.h"
#include "app/data/databasefile.h"
#include "app/data/dataset.h"
#include "app/data/tdata.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

using namespace pemvora;
using namespace pemvora::data;

namespace {

// One demo database per number of cheques, made once in a temporary folder.
const std::string& databaseWithCheques(int cheques)
{
    // Removed with everything in it when the program ends.
    struct Folder {
        std::filesystem::path path;
        Folder()
        {
            std::string pattern = (std::filesystem::temp_directory_path() / "pemvora-bench-XXXXXX").string();
            if (!mkdtemp(pattern.data())) std::abort();
            path = pattern;
        }
        ~Folder()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    static std::map<int, std::string> paths;
    auto it = paths.find(cheques);
    if (it != paths.end()) return it->second;

    const std::string path = (folder.path / ("banck-" + std::to_string(cheques) + ".mdb")).string();
    writeChequeDatabase(path, {.demo = true, .force = true});
    Connection db;
    db.open(path, kDatabasePassword);
    Transaction tx(db);
    for (int i = 7; i < cheques; ++i)
        db.execute("INSERT INTO ZPJE (ZPJE, date, zphm, lb, yh_h, yt_h, dw_h) VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {1000.0 + i * 0.01, "2009-01-02 10:00:00", std::to_string(60000000 + i), 1 + i % 2,
                    1 + i % 5, 1 + i % 6, 1 + i % 7});
    tx.commit();
    return paths.emplace(cheques, path).first->second;
}

// Connection (key derivation and first read) plus the ZPJE snapshot.
void BM_OpenAndReadZpje(benchmark::State& state)
{
    const std::string& path = databaseWithCheques(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Connection db;
        db.open(path, kDatabasePassword);
        Dataset zpje(db, "ZPJE");
        zpje.setSql({"SELECT * FROM  ZPJE"});
        zpje.open();
        benchmark::DoNotOptimize(zpje.recordCount());
    }
    state.counters["cheques"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenAndReadZpje)->Arg(7)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The connection alone: key derivation and the first read that checks the key.
void BM_OpenConnection(benchmark::State& state)
{
    const std::string& path = databaseWithCheques(7);
    for (auto _ : state) {
        Connection db;
        db.open(path, kDatabasePassword);
        benchmark::DoNotOptimize(db.isOpen());
    }
}
BENCHMARK(BM_OpenConnection)->Unit(benchmark::kMillisecond);

// Reading ZPJE again on an open connection: the snapshot alone.
void BM_RereadZpje(benchmark::State& state)
{
    const std::string& path = databaseWithCheques(static_cast<int>(state.range(0)));
    Connection db;
    db.open(path, kDatabasePassword);
    Dataset zpje(db, "ZPJE");
    zpje.setSql({"SELECT * FROM  ZPJE"});
    for (auto _ : state) {
        zpje.close();
        zpje.open();
        benchmark::DoNotOptimize(zpje.recordCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RereadZpje)->Arg(7)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The whole data module as start-up creates it: nine queries opened.
void BM_OpenTData(benchmark::State& state)
{
    const std::string& path = databaseWithCheques(7);
    for (auto _ : state) {
        TData data(path);
        benchmark::DoNotOptimize(data.ZPJE.recordCount());
    }
}
BENCHMARK(BM_OpenTData)->Unit(benchmark::kMillisecond);

} // namespace
