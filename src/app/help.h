#pragma once

#include "core/ports.h"

#include <string>

namespace zelkor {

// Places in the program where help is asked for; each is an anchor of the
// help document.
inline constexpr int kHelpContents = 131073;      // the help menu
inline constexpr int kHelpMainWindow = 131074;    // F1 in the main window
inline constexpr int kHelpRaceSelection = 131075; // F1 in the race selection
inline constexpr int kHelpNewspaperSettings = 131076;
inline constexpr int kHelpViewer = 131077;

// The note a new user sees at the first start: how a race gets into the
// program and where to go on. Names the menus and buttons as they read.
inline constexpr const char* kFirstUseNote =
    "初めて使う方へ・・・\n\n"
    "JV-Dataを使う場合は、メニューの［ﾌｧｲﾙ］－［JV-Dataを取り込む］でJV-Dataのファイルか"
    "フォルダを取り込み、［ﾌｧｲﾙ］－［JV-Dataのレースを開く］で開催日を選んでください。"
    "JRA-VANの出馬表ファイル（.lzh）は［ﾌｧｲﾙ］－［JRA-VANﾌｧｲﾙを開く］で開きます。\n"
    "レースの一覧で予想したいレースをひとつ選んで「予想開始」を押し、ツールバーの「予想」を"
    "押してください。\n"
    "競馬新聞などから入力する場合は、各項目を入力してツールバーの「予想」を押してください。\n"
    "取り込んだレースでの回収率は［ﾌｧｲﾙ］－［過去レースで検証］で調べられます。\n"
    "　○詳しくはヘルプ（F1キー）を参照してください。";

// The help document, named after the desktop program. It lies with the
// pictures among the program's read-only files (programFilesFolder()), never
// in a folder given with --program-folder.
inline constexpr const char* kHelpFileName = "zelkor2k.html";

// "file://" address of the help document at the anchor of `context`
// (CP932, like every library text).
std::string helpAddress(int context);

// A small page that sends the browser on to helpAddress(context). Openers
// such as xdg-open drop the anchor of a "file://" address, so the help is
// opened through this page, whose own address needs none. UTF-8 bytes.
std::string helpRedirectPage(int context);

// Where openHelp writes that page: a file of this user's runtime folder.
std::string helpRedirectPath();

// Opens the help document at `context` in the default browser.
void openHelp(Shell& shell, int context);

} // namespace zelkor
