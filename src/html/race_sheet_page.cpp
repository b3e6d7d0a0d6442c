#include "html/race_sheet_page.h"

#include "html/page_conventions.h"
#include "html/race_table.h"
#include "text/file_io.h"
#include "text/format.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace zelkor {

std::string buildRaceSheetPage(const RaceSheet& sheet, const AppSettings& settings,
                               const std::string& programFolder) {
    std::string page;
    if (settings.sportsShowImages) {
        appendFormat(page,
                     "<HTML>\r\n<HEAD>%s<TITLE>%s</TITLE><BASE HREF=\"%s\"></HEAD>\r\n<BODY "
                     "background=\"Image/Bg1.gif\">\r\n",
                     std::string(kPageMetaLine).c_str(), htmlEscape(sheet.raceName).c_str(),
                     addressPath(programFolder).c_str());
    } else {
        page = plainHead(sheet.raceName);
    }
    page += "<CENTER>\r\n";
    page += buildRaceTable(sheet, settings, "border=1");
    page += "</CENTER></BODY>\r\n</HTML>";
    return page;
}

bool everyRunnerNamed(const RaceSheet& sheet) {
    const int count = shownRunnerCount(sheet);
    for (int n = 1; n <= count; ++n) {
        if (sheet.runner(n).name.empty())
            return false;
    }
    return true;
}

std::string chooseRaceSheetPageFile(const std::string& programFolder) {
    // mkstemps makes the name and the file in one step, so no other process
    // can take the name between the two.
    std::string pattern = programFolder + "zelXXXXXX.tmp";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0)
        return programFolder + "tmpzel.tmp";
    ::close(fd);
    return std::string(buffer.data());
}

RaceSheetPageFile::RaceSheetPageFile(const std::string& programFolder)
    : programFolder_(programFolder), path_(chooseRaceSheetPageFile(programFolder)) {
    writeWholeFile(path_, "test"); // a failure shows up as an empty viewer only
}

RaceSheetPageFile::~RaceSheetPageFile() {
    std::remove(path_.c_str());
}

std::string RaceSheetPageFile::address() const {
    return fileAddress(path_);
}

int RaceSheetPageFile::refresh(const RaceSheet& sheet, const AppSettings& settings) {
    std::string text = buildRaceSheetPage(sheet, settings, programFolder_);
    if (text == lastText_)
        return 0;
    lastText_ = std::move(text);
    writeWholeFile(path_, lastText_); // swallowed: the viewer shows what the file holds
    predictEnabled_ = everyRunnerNamed(sheet);
    return 1;
}

} // namespace zelkor
