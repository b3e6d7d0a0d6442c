#include "app/main_actions.h"

#include "app/app_icons.h"

#include <QAction>
#include <QKeySequence>
#include <optional>

namespace zelkor {

namespace {

struct ActionText {
    const char16_t* menuText;
    const char16_t* toolText; // the toolbar button's text and tooltip
    std::optional<CommandArt> art;
    QKeySequence shortcut;
};

QAction* makeAction(QObject* owner, const char* name, const ActionText& t) {
    auto* action = new QAction(QString::fromUtf16(t.menuText), owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setIconText(QString::fromUtf16(t.toolText));
    if (t.art)
        action->setIcon(commandIcon(*t.art));
    if (!t.shortcut.isEmpty()) {
        action->setShortcut(t.shortcut);
        // Window-wide, so the keys work whichever control has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            QString::fromUtf16(t.toolText), t.shortcut.toString(QKeySequence::NativeText)));
    }
    return action;
}

QKeySequence alt(Qt::Key key) {
    return QKeySequence(Qt::ALT | key);
}

} // namespace

MainActions makeMainActions(QObject* owner) {
    using Art = CommandArt;
    MainActions a{};
    a.newRace = makeAction(owner, "newRaceAction",
                           {u"新規レース入力(&N)", u"新規", Art::NewRace, QKeySequence::New});
    a.openFile =
        makeAction(owner, "openFileAction",
                   {u"ゼルコ馬ﾌｧｲﾙを開く(&O)...", u"開く", Art::OpenFile, QKeySequence::Open});
    a.openJraVan = makeAction(owner, "openJraVanAction",
                              {u"JRA-VANﾌｧｲﾙを開く(&J)...", u"JRA-VAN", Art::OpenJraVan, {}});
    a.importJvData = makeAction(owner, "importJvDataAction",
                                {u"JV-Dataを取り込む(&I)...", u"JV-Data取込", {}, {}});
    a.openJvDataRaces = makeAction(owner, "openJvDataRacesAction",
                                   {u"JV-Dataのレースを開く(&D)...", u"JV-Dataのレース", {}, {}});
    a.checkJvData = makeAction(owner, "checkJvDataAction",
                               {u"JV-Dataの保存ファイルを検査(&K)", u"JV-Data検査", {}, {}});
    a.changeRace = makeAction(owner, "changeRaceAction",
                              {u"予想ﾚｰｽを変更(&E)", u"ﾚｰｽ変更", Art::ChangeRace, {}});
    a.backtest = makeAction(owner, "backtestAction",
                            {u"過去レースで検証(&B)...", u"検証", Art::Backtest, {}});
    a.save = makeAction(owner, "saveAction",
                        {u"上書き保存(&S)", u"保存", Art::Save, QKeySequence::Save});
    a.saveAs = makeAction(owner, "saveAsAction",
                          {u"名前を付けて保存(&A)...",
                           u"名前を付けて保存",
                           {},
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    a.exit = makeAction(owner, "exitAction",
                        {u"ゼルコ馬の終了(&X)", u"終了", {}, QKeySequence(Qt::CTRL | Qt::Key_Q)});
    // The mnemonics the form declares for its four commands, as keys of the
    // whole window.
    a.predict =
        makeAction(owner, "predictAction", {u"予想(&Y)", u"予想", Art::Predict, alt(Qt::Key_Y)});
    a.bets = makeAction(owner, "betsAction", {u"買い目(&B)", u"買い目", Art::Bets, alt(Qt::Key_B)});
    a.trainer = makeAction(owner, "trainerAction",
                           {u"調教師(&T)", u"調教師", Art::Trainer, alt(Qt::Key_T)});
    a.sports = makeAction(owner, "sportsAction",
                          {u"ZELスポ(&A)", u"ZELスポ", Art::Sports, alt(Qt::Key_A)});
    a.newspaperSettings = makeAction(owner, "newspaperSettingsAction",
                                     {u"新聞(&O)", u"新聞設定", Art::Newspaper, {}});
    // F1 itself is the main window's and the viewer's own key (each opens
    // the help at its own place); the menu item shows it.
    a.help = makeAction(
        owner, "helpAction",
        {u"ゼルコ馬'2000のヘルプ(&W)", u"ヘルプ", Art::Help, QKeySequence::HelpContents});
    a.help->setShortcutContext(Qt::WidgetShortcut);
    a.about = makeAction(owner, "aboutAction", {u"ﾊﾞｰｼﾞｮﾝ情報 (&A)...", u"ﾊﾞｰｼﾞｮﾝ情報", {}, {}});
    a.changeRace->setEnabled(false);
    a.backtest->setEnabled(false);
    return a;
}

} // namespace zelkor
