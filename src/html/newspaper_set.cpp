#include "html/newspaper_set.h"

#include "html/page_conventions.h"
#include "race/race_card.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"
#include "text/sjis.h"

#include <algorithm>
#include <filesystem>

namespace zelkor {

namespace {

constexpr size_t kProgressLineBytes = 30;

} // namespace

std::string fileNamePart(std::string_view cp932) {
    const std::string name = safeFileNamePart(cp932);
#ifdef _WIN32
    return name;
#else
    return cp932ToUtf8(name);
#endif
}

std::string savingProgressText(std::string_view nativePath) {
    const std::string quoted = "\"" + pathForDisplay(nativePath) + "\"";
    std::string_view rest = quoted;
    std::string text;
    while (rest.size() > kProgressLineBytes) {
        std::string_view line = prefixWholeChars(rest, kProgressLineBytes);
        text.append(line);
        text += "\r\n";
        rest.remove_prefix(line.size());
    }
    text.append(rest);
    text += "\r\nを保存してます";
    return text;
}

std::string buildFramesIndexPage(const std::string& title, const std::string& menuName,
                                 const std::string& firstPageName) {
    return format("<HTML>\r\n<HEAD>\r\n%s <TITLE>%s</TITLE></HEAD>\r\n<FRAMESET "
                  "COLS=\"30%%,*\">\r\n <FRAME SRC=\"%s\" NAME=\"MENU\">\r\n <FRAME SRC=\"%s\" "
                  "NAME=\"NEWS\">\r\n <NOFRAMES>\r\n "
                  "このブラウザはフレーム機能に対応していません。<br>\r\n各htmlファイルを直接開いて"
                  "ください。\r\n </NOFRAMES>\r\n</FRAMESET>\r\n</HTML>\r\n",
                  std::string(kPageMetaLine).c_str(), htmlEscape(title).c_str(),
                  addressPath(menuName).c_str(), addressPath(firstPageName).c_str());
}

std::string setMenuName(const JvRaceCard& race) {
    return format("%d-%04dmenu.html", race.year, race.monthDay);
}

std::string setMenuHead() {
    return format(
        "<HTML>\r\n<HEAD>\r\n%s\r\n<TITLE></TITLE></HEAD>\r\n<BODY bgcolor=dddddd><br>\r\n",
        std::string(kPageMetaLine).c_str());
}

int setProgressPosition(long long done, long long total) {
    if (total <= 0 || done <= 0)
        return 0;
    return done >= total ? 100 : static_cast<int>(done * 100 / total);
}

void UnwrittenFiles::note(bool written, const std::string& path) {
    (written ? written_ : paths_).push_back(path);
}

bool UnwrittenFiles::removeIfCancelled(const ProgressSink& progress, const std::string& folder,
                                       UserPrompt& prompt) {
    if (!progress.cancelled())
        return false;
    std::error_code ignored;
    for (const std::string& path : written_)
        std::filesystem::remove(path, ignored);
    std::filesystem::remove(folder, ignored); // only when empty
    prompt.showNote(format("ページの保存をキャンセルしました。\r\n"
                           "それまでに書き込んだ%zu個のファイルは削除しました。",
                           written_.size()),
                    MessageIcon::Information);
    written_.clear();
    return true;
}

void UnwrittenFiles::report(UserPrompt& prompt) const {
    if (paths_.empty())
        return;
    // A folder that cannot be written loses every file; a few names say it.
    constexpr size_t kNamed = 5;
    std::string text = "次のファイルに書き込めませんでした";
    for (size_t i = 0; i < paths_.size() && i < kNamed; ++i)
        text += "\r\n" + pathForDisplay(paths_[i]);
    if (paths_.size() > kNamed)
        appendFormat(text, "\r\nほか %zu 個", paths_.size() - kNamed);
    prompt.showMessage(text);
}

std::string startFramedSet(const std::string& folder, const JvRaceCard& race,
                           const std::string& indexTitle, const std::string& firstPageName,
                           ProgressSink& progress, UnwrittenFiles& unwritten) {
    const std::string indexPath = folder + "index.html";
    progress.setText("\"" + pathForDisplay(indexPath) + "\"を保存してます");
    progress.setPosition(0);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    unwritten.note(writePageFile(indexPath, buildFramesIndexPage(indexTitle, setMenuName(race),
                                                                 firstPageName)),
                   indexPath);
    return indexPath;
}

void appendRaceToMenu(std::string& menu, std::string& previousCourse, const JvRaceCard& race,
                      const std::string& pagePath) {
    // Races of several racecourses in alternating order give a heading at
    // every change, so a racecourse can appear more than once.
    if (race.courseName != previousCourse) {
        previousCourse = race.courseName;
        appendFormat(menu, "<br><br><b>%s競馬場</b><br>\r\n", HtmlText(race.courseName).c_str());
    }
    if (pagePath.empty()) {
        appendFormat(menu, "　<font size=1><b>%dR</b> %s %s</font><br>\r\n", race.raceNumber,
                     HtmlText(race.raceName).c_str(), race.cancelled ? "(中止)" : "(出馬表未確定)");
        return;
    }
    appendFormat(menu,
                 "　<font size=1><a href=\"%s\" target=\"NEWS\"><b>%dR</b> %s</font></a><br>\r\n",
                 fileAddress(pagePath).c_str(), race.raceNumber, HtmlText(race.raceName).c_str());
}

NewspaperEdition chosenPaperEdition(const AppSettings& settings) {
    if (settings.paperEdition < 1 || settings.paperEdition > 3)
        return NewspaperEdition::Simple;
    return static_cast<NewspaperEdition>(settings.paperEdition);
}

std::string singleNewspaperFileName(const JvRaceCard& race) {
    return format("Jv%d-%d_%s%dR%s.html", race.year, race.monthDay,
                  safeFileNamePart(race.courseName).c_str(), race.raceNumber,
                  safeFileNamePart(race.shortName).c_str());
}

std::string newspaperSetFolder(const std::string& programFolder, const JvRaceCard& race) {
    return programFolder + "HTML/" + format("Jv%d_%04d/", race.year, race.monthDay);
}

std::string newspaperSetPageName(const JvRaceCard& race) {
    return format("Jv%d-%04d_%s%dR%s.html", race.year, race.monthDay,
                  fileNamePart(race.courseName).c_str(), race.raceNumber,
                  fileNamePart(race.shortName).c_str());
}

Outcome writeSingleNewspaper(const JvRaceCard& race, RaceSource& source,
                             const AppSettings& settings, const std::string& programFolder,
                             const std::string& path, UserPrompt& prompt, Shell& shell) {
    Outcome written = writeNewspaper(chosenPaperEdition(settings), race, source, settings,
                                     programFolder, prompt, path);
    if (source.failed())
        return written; // told why
    if (!written)
        prompt.showMessage(written.message());
    shell.openDocument(path);
    return written;
}

Result<WrittenPageSet> writeNewspaperSet(const PageSetJob& job,
                                         std::vector<int> selectedPositions) {
    RaceSource& source = job.source;
    const AppSettings& settings = job.settings;
    RememberingPrompt prompt(job.prompt);
    ProgressSink& progress = job.progress;
    // The races in list order, each once.
    std::erase_if(selectedPositions, [](int position) { return position < 1; });
    std::sort(selectedPositions.begin(), selectedPositions.end());
    selectedPositions.erase(std::unique(selectedPositions.begin(), selectedPositions.end()),
                            selectedPositions.end());
    if (selectedPositions.empty())
        return Failure{"レースが選ばれていません"};

    // The last selected race that can be loaded fixes the day of the set
    // and is shown first.
    JvRaceCard race;
    if (!source.readRace(race, selectedPositions.back(), prompt))
        return prompt.failure(kSourceNotRead);
    for (auto it = selectedPositions.rbegin(); !raceLoadable(race);) {
        if (++it == selectedPositions.rend())
            return Failure{"選んだレースはどれも中止か出馬表未確定です"};
        if (!source.readRace(race, *it, prompt))
            return prompt.failure(kSourceNotRead);
    }
    const NewspaperEdition edition = chosenPaperEdition(settings);
    const int selected = static_cast<int>(selectedPositions.size());

    const std::string& programFolder = job.programFolder;
    const std::string folder = newspaperSetFolder(programFolder, race);
    UnwrittenFiles unwritten;
    const std::string indexPath = startFramedSet(
        folder, race, format("%d %04d Race List from JRA-VAN", race.year, race.monthDay),
        newspaperSetPageName(race), progress, unwritten);
    const PageFolder pages(folder);
    const std::string menuName = setMenuName(race);

    std::string menu = setMenuHead();
    appendFormat(menu, "<center><h2>%d年<br>%d月%d日<br>競走一覧</h2></center>\r\n", race.year,
                 race.monthDay / 100, race.monthDay % 100);
    std::string previousCourse;

    int done = 0;
    for (int position : selectedPositions) {
        if (unwritten.removeIfCancelled(progress, folder, prompt))
            return prompt.failure({});
        ++done;
        const bool read = source.readRace(race, position, prompt).ok();
        if (read && !raceLoadable(race)) {
            appendRaceToMenu(menu, previousCourse, race, {});
        } else if (read) {
            const std::string pageName = newspaperSetPageName(race);
            const std::string pagePath = folder + pageName;
            progress.setText(savingProgressText(pagePath));
            const std::string page =
                buildNewspaper(edition, race, source, settings, programFolder, prompt);
            if (source.failed())
                return prompt.failure(kSourceNotRead);
            const bool written = pages.write(pageName, page);
            unwritten.note(written, pagePath);
            if (written)
                appendRaceToMenu(menu, previousCourse, race, pagePath);
        }
        if (source.failed())
            return prompt.failure(kSourceNotRead);
        // Positions rather than a fixed step, so the bar ends at 100 for any
        // number of races.
        progress.setPosition(setProgressPosition(done, selected));
    }

    menu += "\r\n</BODY>\r\n</HTML>";
    unwritten.note(pages.write(menuName, menu), folder + menuName);
    unwritten.report(prompt);
    job.shell.openDocument(indexPath);
    return WrittenPageSet{indexPath, unwritten.count()};
}

} // namespace zelkor
