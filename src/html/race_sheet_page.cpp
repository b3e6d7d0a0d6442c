#include "html/race_sheet_page.h"

#include "html/page_conventions.h"
#include "html/race_table.h"
#include "text/file_io.h"
#include "text/format.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <memory>
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
    // can take the name between the two. The process id in the name tells
    // a later start whether the file's owner still runs.
    std::string pattern = format("%szel%ld-XXXXXX.tmp", programFolder.c_str(), long(::getpid()));
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0)
        return programFolder + "tmpzel.tmp";
    ::close(fd);
    return std::string(buffer.data());
}

long raceSheetPageOwner(std::string_view fileName) {
    // "zel" <pid> "-" six characters ".tmp"
    constexpr std::string_view prefix = "zel", suffix = ".tmp";
    if (!fileName.starts_with(prefix) || !fileName.ends_with(suffix))
        return 0;
    const std::string_view middle =
        fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    const size_t dash = middle.find('-');
    if (dash == 0 || dash > 9 || dash == std::string_view::npos || middle.size() - dash != 7)
        return 0;
    long pid = 0;
    for (char c : middle.substr(0, dash)) {
        if (c < '0' || c > '9')
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

void removeStaleRaceSheetPages(const std::string& programFolder) {
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(programFolder.c_str()), ::closedir);
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder.get())) {
        const long pid = raceSheetPageOwner(entry->d_name);
        // kill(pid, 0) fails with ESRCH only when no such process exists.
        if (pid > 0 && pid != long(::getpid()) && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            ::unlink((programFolder + entry->d_name).c_str());
    }
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

Result<PageRefresh> RaceSheetPageFile::refresh(const RaceSheet& sheet,
                                               const AppSettings& settings) {
    std::string text = buildRaceSheetPage(sheet, settings, programFolder_);
    if (text == lastText_)
        return PageRefresh::Unchanged;
    lastText_ = std::move(text);
    predictEnabled_ = everyRunnerNamed(sheet);
    if (!writeWholeFile(path_, lastText_))
        return pageNotWritten(path_);
    return PageRefresh::Rewritten;
}

} // namespace zelkor
