#pragma once

namespace zelkor::cli {

// The options of zelkor2k-cli itself, as --help and the manual page show them.
inline constexpr const char* kGlobalOptionsHelp =
    "global options (--program-folder also after the command):\n"
    "  --program-folder DIR  work on the folder DIR: settings, working folders and\n"
    "                        pictures are looked for there. Default: the folder of\n"
    "                        this program when it holds Image and can be written,\n"
    "                        else $XDG_DATA_HOME/zelkor2k (~/.local/share/zelkor2k)\n"
    "  --version             print the version and exit\n"
    "  -h, --help            print this help and exit\n";

} // namespace zelkor::cli
