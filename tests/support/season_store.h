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

// The race date (YYYYMMDD) of a record, 0 for a horse's (UM).
int recordDate(const std::string& record);

// A record of a race as it would be without odds: an O1 is dropped (empty),
// an SE loses its win odds.
std::string withoutOdds(std::string record);

// Runs `sql` on the SQLite file at `path` (made when missing) as another
// program would, leaving its log and side files behind. False on an error.
bool runSqlAsAnotherProgram(const std::string& path, const char* sql);

// Fills the first page of `table` of the store with noise, as a failing disk
// would: the integrity check fails and so does every read of its records.
void damageStoreTable(const std::string& storePath, const char* table);

} // namespace zelkor::test
