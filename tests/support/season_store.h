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

} // namespace zelkor::test
