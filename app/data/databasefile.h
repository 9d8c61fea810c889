#pragma once
// Writes the database file that is supplied beside the program: the six tables
// of the cheque application and the first operator (admin / 579), optionally
// with demo data. The program itself never creates tables.

#include <string>

namespace pemvora::data {

struct DatabaseFileOptions {
    bool demo = false;    // add banks, purposes, payees, the unit and cheques
    bool force = false;   // replace an existing file
};

// Writes the new encrypted file next to `path` under a temporary name and moves
// it into place only when complete, so a failure never leaves a half-written
// database. Temporaries that an earlier write left behind when it was killed
// (their writing process is gone) are removed first. Without `force` an existing file is never replaced (throws
// DatabaseError). Returns nothing; throws DatabaseError on failure.
void writeChequeDatabase(const std::string& path, const DatabaseFileOptions& options);

} // namespace pemvora::data
