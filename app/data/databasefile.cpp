#include "app/data/databasefile.h"

#include "app/data/connection.h"
#include "app/data/tdata.h"

#include <fmt/format.h>

#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace pemvora::data {

namespace fs = std::filesystem;

namespace {

const char* const kSchema[] = {
    // One row per cheque. lb: 1 cash (现金), anything else transfer (转帐).
    "CREATE TABLE ZPJE (ZPJE REAL, date DATETIME, zphm TEXT, lb SMALLINT, "
    "yh_h INTEGER, yt_h INTEGER, dw_h INTEGER)",
    // Purposes: the name is read by position (first column).
    "CREATE TABLE YT (ytmc TEXT, ytdh INTEGER)",
    // Bank accounts: name and account number are read by position (first, second).
    "CREATE TABLE BANK (bank_name TEXT, bank_zh TEXT, bank_mb TEXT, bank_dh INTEGER)",
    "CREATE TABLE skdw (skdw TEXT, dw_dh INTEGER, dwjm TEXT)",
    // Operators: the first column is not used by the program, the user name is
    // read by position (second).
    "CREATE TABLE admin (id INTEGER PRIMARY KEY, user_name TEXT, password TEXT)",
    "CREATE TABLE USE_DW (uses_dwmc TEXT, uses_dwfr TEXT, uses_dwdh TEXT, uses_addrs TEXT, "
    "uses_lxr TEXT, uses_yb TEXT, E_MAIL TEXT)",
    nullptr,
};

void insertDemoData(Connection& db)
{
    struct Bank { const char* name; const char* account; const char* form; };
    const Bank banks[] = {
        {"工商银行北京海淀支行", "0200004909020112345", "工商银行"},
        {"建设银行北京朝阳支行", "11001028600056012345", "建设银行"},
        {"农业银行北京丰台支行", "11250101040012345", "农业银行"},
        {"北京市清河农村信用合作社", "0701012012345678", "信用联社"},
        {"招商银行北京分行营业部", "110902345610801", "其他"},
    };
    int id = 0;
    for (const Bank& b : banks)
        db.execute("INSERT INTO BANK (bank_name, bank_zh, bank_mb, bank_dh) VALUES (?, ?, ?, ?)",
                   {b.name, b.account, b.form, ++id});

    const char* purposes[] = {"货款", "办公用品", "差旅费", "工资", "房租", "水电费"};
    id = 0;
    for (const char* p : purposes)
        db.execute("INSERT INTO YT (ytmc, ytdh) VALUES (?, ?)", {p, ++id});

    struct Payee { const char* name; const char* code; };
    const Payee payees[] = {
        {"北京华联商厦有限公司", "hlsx"},
        {"北京市自来水集团有限责任公司", "zls"},
        {"国网北京市电力公司", "dlgs"},
        {"北京宏达办公设备有限公司", "hdbg"},
        {"中关村科技园物业管理有限公司", "wygl"},
        {"北京顺通货运有限公司", "sthy"},
        {"北京瑞丰科技有限公司", "rfkj"},
    };
    id = 0;
    for (const Payee& p : payees)
        db.execute("INSERT INTO skdw (skdw, dw_dh, dwjm) VALUES (?, ?, ?)", {p.name, ++id, p.code});

    db.execute("INSERT INTO USE_DW (uses_dwmc, uses_dwfr, uses_dwdh, uses_addrs, uses_lxr, uses_yb, "
               "E_MAIL) VALUES (?, ?, ?, ?, ?, ?, ?)",
               {"北京瑞丰科技有限公司", "王建国", "010-62751234", "北京市海淀区中关村南大街5号",
                "李娜", "100081", "caiwu@ruifeng-tech.com.cn"});

    struct Cheque { double amount; const char* date; const char* number; int type; int bank, purpose, payee; };
    const Cheque cheques[] = {
        {2045.67, "2008-03-05 09:12:00", "10203301", 2, 1, 1, 1},
        {8000.00, "2008-03-10 10:30:00", "10203302", 1, 1, 4, 7},
        {120034.56, "2008-04-02 14:05:00", "20451120", 2, 2, 5, 5},
        {356.80, "2008-04-15 11:20:00", "20451121", 2, 2, 2, 4},
        {1268.40, "2008-05-06 15:45:00", "30077815", 2, 3, 6, 2},
        {4700.00, "2008-05-20 09:00:00", "40120086", 1, 4, 3, 7},
        {19850.00, "2008-06-03 16:10:00", "50336019", 2, 5, 1, 6},
    };
    for (const Cheque& c : cheques)
        db.execute("INSERT INTO ZPJE (ZPJE, date, zphm, lb, yh_h, yt_h, dw_h) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {c.amount, c.date, c.number, c.type, c.bank, c.purpose, c.payee});
}

// SQLite's companions of a database file.
const char* const kCompanionSuffixes[] = {"-journal", "-wal", "-shm"};

// PATH.tmp-PID-RANDOM: the writing process is part of the name, so a later
// run can tell the temporaries of a writer that was killed from those of one
// still at work.
std::string temporaryNameBeside(const std::string& path)
{
    std::random_device random;
    return fmt::format("{}.tmp-{}-{:08x}", path, ::getpid(), random());
}

void removeQuietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
    for (const char* suffix : kCompanionSuffixes) fs::remove(path + suffix, ec);
}

// The writer's process id of a temporary name of ours for `file`
// ("FILE.tmp-PID-XXXXXXXX", maybe followed by a companion suffix); 0 when the
// name is not one of ours.
pid_t writerOfTemporary(const std::string& name, const std::string& file)
{
    const std::string prefix = file + ".tmp-";
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    std::string rest = name.substr(prefix.size());
    for (const char* suffix : kCompanionSuffixes) {
        const std::string_view s(suffix);
        if (rest.size() > s.size() && rest.compare(rest.size() - s.size(), s.size(), s) == 0) {
            rest.resize(rest.size() - s.size());
            break;
        }
    }
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos || dash == 0 || dash > 9 || rest.size() != dash + 1 + 8) return 0;
    pid_t pid = 0;
    for (std::size_t i = 0; i < dash; ++i) {
        if (rest[i] < '0' || rest[i] > '9') return 0;
        pid = pid * 10 + (rest[i] - '0');
    }
    for (std::size_t i = dash + 1; i < rest.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(rest[i]))) return 0;
    return pid;
}

bool processIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

// Removes what earlier writes of `path` left behind when they were killed
// half-way: our temporaries whose writing process no longer exists.
void removeStaleTemporaries(const fs::path& folder, const std::string& path)
{
    const std::string file = fs::path(path).filename().string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const pid_t writer = writerOfTemporary(name, file);
        if (writer > 0 && writer != ::getpid() && processIsGone(writer)) fs::remove(entry.path(), ec);
    }
}

} // namespace

void writeChequeDatabase(const std::string& path, const DatabaseFileOptions& options)
{
    std::error_code ec;
    if (!options.force && fs::exists(path, ec))
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("The file '{}' exists already; use --force to replace it", path));

    const fs::path folder = fs::absolute(fs::path(path), ec).parent_path();
    if (!fs::is_directory(folder, ec))
        throw DatabaseError(DbErrorKind::Other,
                            fmt::format("Cannot write '{}': the folder '{}' does not exist", path,
                                        folder.string()));

    removeStaleTemporaries(folder, path);
    const std::string temporary = temporaryNameBeside(path);
    try {
        Connection db;
        db.open(temporary, kDatabasePassword, Connection::Mode::CreateNew);
        Transaction tx(db);
        for (const char* const* statement = kSchema; *statement; ++statement) db.execute(*statement);
        db.execute("INSERT INTO admin (user_name, password) VALUES (?, ?)", {"admin", "579"});
        if (options.demo) insertDemoData(db);
        tx.commit();
        db.close();

        if (options.force) {
            fs::rename(temporary, path);
        } else if (::link(temporary.c_str(), path.c_str()) == 0) {
            // A hard link never replaces a file that appeared meanwhile.
            removeQuietly(temporary);
        } else if (errno == EEXIST) {
            throw DatabaseError(DbErrorKind::Usage,
                                fmt::format("The file '{}' exists already; use --force to replace it",
                                            path));
        } else {
            throw DatabaseError(DbErrorKind::Other, fmt::format("Cannot write '{}': {}", path,
                                                                std::strerror(errno)));
        }
    } catch (const fs::filesystem_error& e) {
        removeQuietly(temporary);
        throw DatabaseError(DbErrorKind::Other, fmt::format("Cannot write '{}': {}", path,
                                                            e.code().message()));
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
}

} // namespace pemvora::data
