#pragma once

#include <string>

namespace zelkor {

// Removes the file at `path` (the race-sheet page of this run) when the
// program is ended by SIGTERM, SIGINT or SIGHUP, then ends it as the signal
// would have. One path per process; a later call replaces it.
void removeFileOnTerminationSignals(const std::string& path);

} // namespace zelkor
