#pragma once

#include "text/fixedtext.h"

// The program's fixed texts, in one place. Core code uses them as CP932 bytes (texts::x.bytes(),
// or wherever a const std::string& is wanted). Keep them grouped by the module that shows them.
namespace texts {

// Program
inline const FixedText programTitle { u8"Pavione ver.0.30" };

// Records
inline const FixedText unknownPlayer { u8"不明" };
inline const FixedText blackSide { u8"黒" };
inline const FixedText whiteSide { u8"白" };
// Result texts; %s is the winner's side, the score is always black's count first.
inline const FixedText resultScore { u8"%s %02d-%02d" };
inline const FixedText resultResigned { u8"%s 投了勝" };
inline const FixedText resultOnTime { u8"%s 針落勝" };
inline const FixedText resultFoul { u8"%s 反則勝" };
inline const FixedText resultWin { u8"%s勝" };
inline const FixedText resultDraw { u8"引き分け" };
inline const FixedText resultUnfinished { u8"途中終了" };
// End types by value, as the editor offers them.
inline const FixedText endNormal { u8"通常終局" };
inline const FixedText endResigned { u8"投了" };
inline const FixedText endOnTime { u8"針落ち" };
inline const FixedText endUnfinished { u8"途中終了" };
inline const FixedText endFoul { u8"反則" };

// Library roots
inline const FixedText myRecordsRoot { u8"マイ 棋譜集" };
inline const FixedText networkRoot { u8"ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ" };
inline const FixedText yahooRoot { u8"Yahoo! Games" };
inline const FixedText trashRoot { u8"ごみ箱" };

// Settings
inline const FixedText programTitleFormat { u8"Pavione ver.%d.%02d" };
inline const FixedText aboutVersionFormat { u8"Version %d.%02d" };
inline const FixedText versionFileName { u8"pavionev.dll" };

// Main window
inline const FixedText menuFile { u8"ﾌｧｲﾙ(&F)" };
inline const FixedText menuFileOpen { u8"開く(&O)...\tCtrl+O" };
inline const FixedText menuFileSave { u8"保存(&S)\tCtrl+S" };
inline const FixedText menuAppExit { u8"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)" };
inline const FixedText menuEdit { u8"編集(&E)" };
inline const FixedText menuEditCut { u8"切り取り(&T)\tCtrl+X" };
inline const FixedText menuEditCopy { u8"ｺﾋﾟｰ(&C)\tCtrl+C" };
inline const FixedText menuEditPaste { u8"貼り付け(&P)\tCtrl+V" };
inline const FixedText menuView { u8"表示(&V)" };
inline const FixedText menuViewToolbar { u8"ﾂｰﾙ ﾊﾞｰ(&T)" };
inline const FixedText menuViewStatusBar { u8"ｽﾃｰﾀｽ ﾊﾞｰ(&S)" };
inline const FixedText menuSettings { u8"設定(&S)" };
inline const FixedText menuCaptureSettings { u8"Yahoo! Othello の設定(&Y)..." };
inline const FixedText menuTrashSettings { u8"ごみ箱の設定(&D)..." };
inline const FixedText menuNetworkSettings { u8"ネットワークの設定(&N)..." };
inline const FixedText menuHelp { u8"ﾍﾙﾌﾟ(&H)" };
inline const FixedText menuHomePage { u8"Pavioneのホームページ(&K)..." };
inline const FixedText menuAbout { u8"ﾊﾞｰｼﾞｮﾝ情報(&A)..." };
inline const FixedText popupParentFolder { u8"親フォルダへ移動(&P)" };
inline const FixedText popupPaste { u8"貼り付け(&P)" };
inline const FixedText popupNewFolder { u8"新規フォルダ(&F)" };
inline const FixedText popupNewRecord { u8"新規棋譜(&K)" };
inline const FixedText popupPropertiesR { u8"プロパティ(&R)" };
inline const FixedText popupPropertiesP { u8"プロパティ(&P)" };
inline const FixedText popupOpen { u8"開く(&O)" };
inline const FixedText popupEdit { u8"編集(&E)" };
inline const FixedText popupCut { u8"切り取り(&T)" };
inline const FixedText popupCopy { u8"コピー(&C)" };
inline const FixedText popupDelete { u8"削除(&D)" };
inline const FixedText popupRename { u8"名前の変更(&M)" };
inline const FixedText popupSearch { u8"検索(&F)..." };
inline const FixedText popupShare { u8"共有(&S)..." };
inline const FixedText popupExportKa { u8"KAフォーマットで保存" };
inline const FixedText popupEmptyTrash { u8"ごみ箱を空にする(&B)" };
inline const FixedText popupConnect { u8"接続(&C)" };
inline const FixedText popupDisconnect { u8"切断(&D)" };
inline const FixedText popupChat { u8"チャット(&C)" };
inline const FixedText popupCaptureStart { u8"棋譜採り開始(&S)" };
inline const FixedText popupCaptureStop { u8"棋譜採り終了(&E)" };
inline const FixedText popupRefresh { u8"最新の情報に更新(&E)" };
inline const FixedText toolSave { u8"保存" };
inline const FixedText toolCut { u8"切り取り" };
inline const FixedText toolCopy { u8"コピー" };
inline const FixedText toolPaste { u8"貼り付け" };
inline const FixedText toolCaptureStart { u8"棋譜採り開始" };
inline const FixedText toolCaptureStop { u8"棋譜採り終了" };
inline const FixedText helpSave { u8"現在の状態をディスクに保存" };
inline const FixedText helpCaptureStart { u8"Yahoo! Othelloの棋譜採り開始" };
inline const FixedText helpCaptureStop { u8"Yahoo! Othelloの棋譜採り停止" };
inline const FixedText statusReady { u8"ﾚﾃﾞｨ" };
inline const FixedText indicatorKana { u8"カナ" };
inline const FixedText indicatorCaps { u8"CAP" };
inline const FixedText indicatorNum { u8"NUM" };
inline const FixedText indicatorScroll { u8"SCRL" };
inline const FixedText chatSend { u8"送信" };
inline const FixedText chatConnect { u8"Pavioneﾈｯﾄﾜｰｸに接続" };
inline const FixedText aboutTitle { u8"ﾊﾞｰｼﾞｮﾝ情報" };
inline const FixedText notAvailableTitle { u8"Pavione" };
inline const FixedText notAvailableYet { u8"この機能はまだ使用できません。" };

// Modeless windows
inline const FixedText windowCreationFailed {
    u8"メモリ不足のため、新しいウィンドウが作れませんでした。"
};
inline const FixedText buttonOk { u8"OK" };
inline const FixedText buttonCancel { u8"キャンセル" };

// Trash properties
inline const FixedText trashPropertiesTitle { u8"ごみ箱のプロパティ" };
inline const FixedText trashDeleteForce {
    u8"ごみ箱にファイルを移動しないで、削除と同時に棋譜を消す"
};
inline const FixedText trashDeleteConfirm { u8"削除の確認メッセージを表示する" };

} // namespace texts
