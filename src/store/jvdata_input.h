#pragma once

#include "core/ports.h"
#include "core/result.h"
#include "jvdata/jvdata_record.h"

#include <string>
#include <vector>

namespace zelkor {

// Where the records of a JV-Data import come from, file by file.
class JvDataInputSink : public jvdata::RecordSink {
  public:
    // `file` as shown to the user (CP932); archive entries as "archive:entry".
    virtual void beginFile(const std::string& file) = 0;
    // `jvData`: the file held at least one record of a known type and length.
    virtual void endFile(bool jvData) = 0;
    // False stops the reading (the sink met an error of its own).
    virtual bool keepGoing() const = 0;
};

// Streams every file under `paths` through the record framer into `sink`:
// a folder is searched through (file names in order, links not followed),
// a zip, lzh, tar or gzip archive is read entry by entry with the bounds of
// the archive intake (entries, total size, expansion ratio). Each path must
// hold JV-Data; one that cannot be read, a damaged or oversized archive, or
// a path without any JV-Data record stops the reading with a failure naming
// it. Files without JV-Data inside a folder or an archive are passed over
// (the sink hears beginFile/endFile(false)). A cancel (`progress.cancelled()`)
// or a sink that stops taking records stops the reading between chunks with
// kJvDataReadingStopped: the caller knows which and says so itself.
Outcome readJvDataPaths(const std::vector<std::string>& paths, JvDataInputSink& sink,
                        ProgressSink& progress);

inline constexpr const char* kJvDataReadingStopped = "JV-Dataの読み込みを途中でやめました";

} // namespace zelkor
