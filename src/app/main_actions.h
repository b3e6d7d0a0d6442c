#pragma once

class QAction;
class QObject;

namespace zelkor {

// Every command of the main window's menus, toolbar and keys, made in one
// place with its text, icon, shortcut and tooltip. The window connects the
// commands it carries out; JvCommands those of the JRA-VAN race card.
struct MainActions {
    // ﾌｧｲﾙ
    QAction* newRace;
    QAction* openFile;
    QAction* openJraVan;
    QAction* importJvData;
    QAction* openJvDataRaces;
    QAction* checkJvData;
    QAction* changeRace;
    QAction* backtest;
    QAction* save;
    QAction* saveAs;
    QAction* exit;
    // 予想: the form's four commands
    QAction* predict;
    QAction* bets;
    QAction* trainer;
    QAction* sports;
    // 設定, ﾍﾙﾌﾟ
    QAction* newspaperSettings;
    QAction* help;
    QAction* about;
};

// Makes the actions as children of `owner`. Change race and backtest start
// greyed: there is no race card before an archive has been opened.
MainActions makeMainActions(QObject* owner);

} // namespace zelkor
