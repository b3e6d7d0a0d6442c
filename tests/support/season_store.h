#pragma once

#include "support/jvdata_generator.h"

#include <functional>
#include <string>

namespace zelkor::test {

// The framed records of a generated season.
std::string seasonRecords(const JvdSeasonPlan& plan, JvdSeasonStats* stats = nullptr);

// Imports framed records into the store at `storePath` (through a file
// beside it); `edit` may change or drop (empty result) each record, given
// without its line end. False when the import failed.
bool importRecords(const std::string& records, const std::string& storePath,
                   const std::function<std::string(std::string record)>& edit = {});

// Runs `sql` on the SQLite file at `path` (made when missing) as another
// program would, leaving its log and side files behind. False on an error.
bool runSqlAsAnotherProgram(const std::string& path, const char* sql);

// Fills the first page of `table` of the store with noise, as a failing disk
// would: the integrity check fails and so does every read of its records.
void damageStoreTable(const std::string& storePath, const char* table);

} // namespace zelkor::test
