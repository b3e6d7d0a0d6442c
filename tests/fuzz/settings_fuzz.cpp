// The settings file, which anyone may edit: whatever it holds reads, saves
// as a file that reads back to what was saved, and gives horse-name link
// addresses that are web addresses and cannot end the attribute they are
// written into.

#include "core/settings.h"
#include "fuzz_support.h"
#include "html/page_conventions.h"
#include "text/file_io.h"
#include "text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    AppSettings settings = defaultSettings();
    static_cast<void>(
        readSettings(settings, fuzz::scratchFile(kConfigFileName, fuzz::bytesOf(data, size))));

    // A value holding a line break is saved as its first line, so the saved
    // file, not the settings read, is what must come back.
    const std::string copy = fuzz::scratchFolder() + "copy.cfg";
    ZELKOR_FUZZ_CHECK(writeSettings(settings, copy));
    AppSettings again = defaultSettings();
    ZELKOR_FUZZ_CHECK(readSettings(again, copy));
    const std::string second = fuzz::scratchFolder() + "second.cfg";
    ZELKOR_FUZZ_CHECK(writeSettings(again, second));
    ZELKOR_FUZZ_CHECK(readWholeFile(copy) == readWholeFile(second));

    // Bytes below 0x40 end no character, so they are checked wherever they
    // stand; every other byte is part of a whole character.
    const std::string link = horseNameLink(settings.dbUrl1, "サクラ A>", settings.dbUrl2);
    ZELKOR_FUZZ_CHECK(link.empty() || isWebAddress(link));
    for (size_t pos = 0; pos < link.size(); pos += charLength(link, pos)) {
        const auto c = static_cast<unsigned char>(link[pos]);
        ZELKOR_FUZZ_CHECK(c > 0x20 && c != 0x7f && c != '"' && c != '\'' && c != '<' && c != '>');
        if (charLength(link, pos) == 1)
            ZELKOR_FUZZ_CHECK(c != '`' && !isLeadByte(c));
    }
    return 0;
}
