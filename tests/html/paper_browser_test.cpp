// Opens every page of a generated newspaper set and predict-all set in a
// real browser: the frames name files that exist and the Japanese text
// arrives intact.
#include "archive/race_card_file.h"
#include "core/settings.h"
#include "headless_chromium.h"
#include "html/newspaper_set.h"
#include "html/predict_all.h"
#include "paper_test_data.h"
#include "race/race_card.h"
#include "text/cp932.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The attribute values that follow each `prefix` up to the next quote.
std::vector<std::string> valuesAfter(const std::string& dom, const std::string& prefix) {
    std::vector<std::string> values;
    for (size_t at = dom.find(prefix); at != std::string::npos; at = dom.find(prefix, at)) {
        at += prefix.size();
        const size_t end = dom.find('"', at);
        if (end == std::string::npos)
            break;
        values.push_back(dom.substr(at, end - at));
    }
    return values;
}

// Every "src" of a frame and every "href" to a file, as the browser kept
// them, must name an existing file of the set.
void expectLinkedFilesExist(const std::string& dom, const std::string& folder,
                            const std::string& page) {
    for (const std::string& src : valuesAfter(dom, "<frame src=\""))
        EXPECT_TRUE(fs::exists(folder + percentDecoded(src))) << page << ": " << src;
    for (const std::string& href : valuesAfter(dom, "<a href=\"file://"))
        EXPECT_TRUE(fs::exists(percentDecoded(href))) << page << ": " << href;
}

void expectText(const std::string& dom, const std::string& cp932, const std::string& page) {
    EXPECT_NE(dom.find(cp932ToUtf8(cp932)), std::string::npos)
        << page << ": " << cp932ToUtf8(cp932);
}

TEST(PaperBrowser, EveryPageOfBothSetsOpensWithItsFramesAndJapaneseText) {
    ZELKOR_NEED_OUTSIDE_TOOL(test::chromiumInstalled(), "chromium");
    PaperTestDir dir;
    // Two races of two racecourses (each page costs the browser seconds).
    const JvRaceDay day = makeJvRaceDay(14, 400, 5);
    const std::string card = writeTestCard(dir.path(), {day.races[0], day.races[12]}, day.horses);
    AppSettings settings = defaultSettings();
    settings.paperEdition = 3;
    RecordingPrompt prompt;
    RecordingProgress progress;
    RecordingShell shell;
    ASSERT_NE(newspaperSetOf(card, {1, 2}, settings, dir.path(), prompt, progress, shell), "");
    RaceSheet sheet;
    JvRaceCard current;
    ASSERT_NE(predictAllOf(card, sheet, current, settings, dir.path(), std::tm{}, prompt, progress,
                           shell),
              "");
    ASSERT_TRUE(prompt.entries.empty());

    std::vector<JvRaceCard> races(2);
    for (int r = 0; r < 2; ++r)
        ASSERT_TRUE(readRace(races[static_cast<size_t>(r)], card, r + 1, dir.path()));

    const fs::path profile = fs::path(dir.path()) / "profile";
    int pages = 0;
    for (const std::string set : {"Jv2026_0105", "Jvzel2026_0105"}) {
        const std::string folder = dir.path() + "HTML/" + set + "/";
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            const std::string dom = chromiumDom("file://" + entry.path().string(), profile);
            ASSERT_FALSE(dom.empty()) << "chromium printed nothing for " << name;
            ++pages;
            expectLinkedFilesExist(dom, folder, name);
            if (name == "index.html") {
                EXPECT_NE(dom.find("<frame src=\"2026-0105menu.html\" name=\"MENU\">"),
                          std::string::npos);
                EXPECT_NE(dom.find("name=\"NEWS\""), std::string::npos);
                expectText(dom, set == "Jv2026_0105" ? "Race List from JRA-VAN" : "ゼルコ馬予想",
                           name);
            } else if (name.ends_with("menu.html")) {
                expectText(dom, set == "Jv2026_0105" ? "競走一覧" : "ゼルコ馬予想一覧", name);
                for (const JvRaceCard& race : races) {
                    expectText(dom, race.courseName + "競馬場", name);
                    expectText(dom, race.raceName, name);
                }
            } else if (name.ends_with("kaime.html")) {
                expectText(dom, "ゼルコ馬・買い目一覧", name);
                expectText(dom, "ZEL度", name);
            } else if (set == "Jv2026_0105") {
                expectText(dom, "発走", name);
                expectText(dom, "新聞の見方", name);
                expectText(dom, "走前", name);
            } else {
                expectText(dom, "ゼルコ馬スポーツ", name);
                expectText(dom, "調教師の本音", name);
            }
        }
    }
    // Index, menu and two races; index, menu, summary and two races.
    EXPECT_EQ(pages, 9);
}

} // namespace
} // namespace zelkor
