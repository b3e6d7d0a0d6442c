#pragma once

#include "core/settings.h"

#include <QTemporaryDir>
#include <string>

namespace zelkor {

// The program folder of a second start, the desktop benchmarks' case:
// settings written, no first-use note. Made at the first call, removed at exit.
inline const std::string& secondStartFolder() {
    static QTemporaryDir dir;
    static const std::string folder = [] {
        const std::string path = dir.path().toStdString() + "/";
        AppSettings settings = defaultSettings();
        settings.showFirstUseMessage = false;
        if (!writeSettings(settings, path + kConfigFileName))
            std::abort();
        return path;
    }();
    return folder;
}

} // namespace zelkor
