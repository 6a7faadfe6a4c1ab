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

// Record viewer
inline const FixedText viewerCaption { u8"棋譜" };
inline const FixedText viewerBlack { u8"黒：" };
inline const FixedText viewerWhite { u8"白：" };
// %2d: the moves on the board.
inline const FixedText viewerMoveCounter { u8"%2d 手" };
inline const FixedText viewerNoDiscCount { u8"-" };
inline const FixedText viewerWin { u8"勝ち" };
inline const FixedText viewerWinOnTime { u8"針落勝" };
inline const FixedText viewerWinByFoul { u8"反則勝" };
// The board's context menu: the shown position as a picture.
inline const FixedText diagramSave { u8"図を保存(&S)..." };
inline const FixedText diagramCopy { u8"図をコピー(&C)" };
inline const FixedText diagramNumbers { u8"手順の番号を入れる(&N)" };
inline const FixedText diagramSaveFilter { u8"PNG 画像 (*.png);;SVG 画像 (*.svg)" };
// %s: the file's name.
inline const FixedText diagramSaveFailed { u8"図を \"%s\" に保存できませんでした。" };
// The opening explorer beside a board: the column heads of its moves.
inline const FixedText explorerCollection { u8"棋譜集：" };
inline const FixedText explorerMove { u8"手" };
inline const FixedText explorerGames { u8"局数" };
inline const FixedText explorerBlackWins { u8"黒勝" };
inline const FixedText explorerWhiteWins { u8"白勝" };
inline const FixedText explorerOthers { u8"他" };
inline const FixedText explorerAverage { u8"黒石平均" };
inline const FixedText explorerNoAverage { u8"-" };
// The one line of the list while the collection's index is being made.
inline const FixedText explorerCounting { u8"集計中…" };

// Record editor
inline const FixedText editorCaption { u8"棋譜の編集" };
inline const FixedText editorCancel { u8"ｷｬﾝｾﾙ" };
inline const FixedText editorTabSheet { u8"棋譜" };
inline const FixedText editorTabBoard { u8"盤面" };
inline const FixedText editorTabInfo { u8"情報" };
inline const FixedText editorFirst { u8"最初" };
inline const FixedText editorBack { u8"戻る" };
inline const FixedText editorForward { u8"進む" };
inline const FixedText editorLast { u8"最後" };
inline const FixedText infoName { u8"名前" };
inline const FixedText infoDiscs { u8"石数" };
inline const FixedText infoBlack { u8"黒番" };
inline const FixedText infoWhite { u8"白番" };
inline const FixedText infoWinner { u8"勝者" };
inline const FixedText infoBlackWins { u8"黒勝" };
inline const FixedText infoDraw { u8"引分" };
inline const FixedText infoWhiteWins { u8"白勝" };
inline const FixedText infoEndType { u8"終了方法" };
inline const FixedText infoDate { u8"日付" };
inline const FixedText infoYear { u8"年" };
inline const FixedText infoMonth { u8"月" };
inline const FixedText infoDay { u8"日" };
inline const FixedText infoHour { u8"時" };
inline const FixedText infoMinute { u8"分" };
inline const FixedText infoSecond { u8"秒" };
inline const FixedText infoComment { u8"コメント" };

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

// Network: login, connect dialog, update
inline const FixedText loginFailedTitle { u8"ログイン失敗" };
inline const FixedText loginWrongPassword { u8"ユーザ名またはパスワードが違います。" };
inline const FixedText loginHostDenied { u8"このホストからの接続は許可されていません。" };
inline const FixedText loginTimedOut { u8"時間内にログイン処理が終了しませんでした。" };
inline const FixedText loginTooManyUsers {
    u8"ユーザが多過ぎるためログインできません。\r\nしばらくしてから再度接続を試みて下さい。"
};
inline const FixedText loginRefused { u8"ログインできませんでした。" };
inline const FixedText connectTitle { u8"ネットワークへの接続" };
inline const FixedText connectUserLabel { u8"ユーザID(&U):" };
inline const FixedText connectPasswordLabel { u8"パスワード(&P):" };
inline const FixedText connectSave { u8"ユーザー名とパスワードを保存する" };
inline const FixedText connectRegister { u8"ユーザ登録" };
inline const FixedText connectNoUser { u8"ユーザIDが入力されていません。" };
inline const FixedText connectNoPassword { u8"パスワードが入力されていません。" };
inline const FixedText errorTitle { u8"エラー" };
inline const FixedText updateFound {
    u8"更新ファイルが見つかりました。\r\npavione を最新バージョンに更新します。"
};
inline const FixedText updateTitle { u8"pavione の更新" };
inline const FixedText networkSettingsTitle { u8"ネットワークプロフィールの設定" };
inline const FixedText networkDescriptionGroup { u8"コンピュータの説明" };
inline const FixedText networkAccountGroup { u8"アカウント" };
inline const FixedText networkUserLabel { u8"ユーザID:" };
inline const FixedText networkPasswordLabel { u8"パスワード:" };
inline const FixedText networkOptionsGroup { u8"各種設定" };
inline const FixedText networkChatBell { u8"メッセージが届いたら音を鳴らす" };

// Network: chat and peer windows. "：" is the full-width colon.
// %s: the sender, the message's first line.
inline const FixedText chatFirstLine { u8"%s： %s\r\n" };
// %s: the user.
inline const FixedText chatPeerLoggedIn { u8"*** %s さんがログインしました。\r\n" };
inline const FixedText chatPeerLoggedOut { u8"*** %s さんがログアウトしました。\r\n" };
// The server refused a broadcast or a private message (sent too fast, or the user is gone).
inline const FixedText chatNotSent { u8"*** メッセージを送信できませんでした。\r\n" };
inline const FixedText chatWindowCaption { u8"チャット" };
// %s: the peer, the own user name.
inline const FixedText chatWindowTitle { u8"チャット: %s (%s)" };
inline const FixedText chatProfile { u8"プロフィール" };
inline const FixedText chatClose { u8"閉じる" };
inline const FixedText chatBell { u8"音を鳴らす" };
inline const FixedText chatRaise { u8"最前面に移動" };
// %s: the user.
inline const FixedText peerPropertiesTitle { u8"%s のプロパティ" };
inline const FixedText newsPropertiesTitle { u8"Pavioneニュース のプロパティ" };
inline const FixedText peerNameLabel { u8"ユーザ名:" };
inline const FixedText peerCommentLabel { u8"コメント:" };
inline const FixedText peerLoginLabel { u8"ログイン時刻:" };
inline const FixedText peerIdleLabel { u8"アイドル時間:" };
inline const FixedText peerMessageLabel { u8"メッセージ:" };
inline const FixedText peerOffline { u8"オフライン" };
inline const FixedText peerPing { u8"接続状況" };
// %d: seconds.
inline const FixedText peerIdleSeconds { u8"%d 秒" };
inline const FixedText peerPinging { u8"サーバに問い合わせ中..." };
inline const FixedText peerDelay { u8"遅延： 自分側 - %d.%02d 秒、相手側 - %d.%02d 秒" };
inline const FixedText aboutTitle { u8"ﾊﾞｰｼﾞｮﾝ情報" };
inline const FixedText notAvailableTitle { u8"Pavione" };
inline const FixedText notAvailableYet { u8"この機能はまだ使用できません。" };

// Opening archive and collection files (ファイル > 開く and files dropped from a file manager)
inline const FixedText openFilesTitle { u8"開く" };
inline const FixedText openFilesFilter {
    u8"棋譜ファイル (*.wtb *.WTB *.ggf *.GGF *.kif *.KIF *.txt *.TXT);;すべてのファイル (*)"
};
// %s: the file's name.
inline const FixedText importProgress { u8"%s を読み込んでいます..." };
inline const FixedText importCancelButton { u8"中止" };
inline const FixedText importSummaryTitle { u8"読み込みの結果" };
// %s: the file's name; then the games filed, of which cut short, and the games skipped.
inline const FixedText importSummaryLine {
    u8"%s: 登録 %d 局（うち途中まで %d 局）、スキップ %d 局"
};
// %s: the file's name.
inline const FixedText importSummaryCancelled {
    u8"%s: 中止しました。このファイルからは何も登録していません。"
};
// %s: the file's name, then why it could not be read.
inline const FixedText importSummaryFailed { u8"%s: 読み込めませんでした（%s）" };
inline const FixedText importSummaryNotRead { u8"%s: 中止したため読み込んでいません。" };

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

// Folder properties
inline const FixedText folderPropertiesCaption { u8"プロパティ" };
// %s: the folder's name.
inline const FixedText folderPropertiesTitle { u8"%s のプロパティ" };
inline const FixedText folderTabGeneral { u8"全般" };
inline const FixedText folderTabSharing { u8"共有" };
inline const FixedText folderKindLabel { u8"種類：" };
inline const FixedText folderKind { u8"棋譜フォルダ" };
inline const FixedText folderPlaceLabel { u8"場所：" };
inline const FixedText folderContentsLabel { u8"内容：" };
// %d: the folders and the records below the folder.
inline const FixedText folderContents { u8"フォルダ数：%d、棋譜数：%d" };
inline const FixedText folderCreatedLabel { u8"作成日時：" };
inline const FixedText shareOff { u8"このフォルダを共有しない(&N)" };
inline const FixedText shareOn { u8"このフォルダを共有する(&S)" };
inline const FixedText shareNameLabel { u8"共有名(&H)：" };
inline const FixedText shareCommentLabel { u8"コメント(&C)：" };
inline const FixedText shareExplanation {
    u8"共有したフォルダは、サーバに接続している他のユーザに共有名で表示され、"
    u8"フォルダ内の棋譜を読まれたりコピーされたりします。"
};

// News properties
inline const FixedText newsPropertiesText {
    u8"Pavioneニュースは、外部の団体から提供されている棋譜集です。"
    u8"内容は不定期に更新されます。"
};
inline const FixedText newsUpdatedLabel { u8"更新日時：" };
inline const FixedText buttonClose { u8"閉じる" };

// Search window
inline const FixedText searchCaption { u8"検索" };
inline const FixedText searchBlack { u8"黒番：" };
inline const FixedText searchWhite { u8"白番：" };
inline const FixedText searchOr { u8"OR" };
inline const FixedText searchAnd { u8"AND" };
inline const FixedText searchWinner { u8"勝者：" };
inline const FixedText searchDate { u8"日付：" };
inline const FixedText searchYear { u8"年" };
inline const FixedText searchMonth { u8"月" };
inline const FixedText searchFromDay { u8"日 から" };
inline const FixedText searchToDay { u8"日 まで" };
inline const FixedText searchIncremental { u8"ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ" };
inline const FixedText searchRun { u8"検索" };
inline const FixedText searchAll { u8"全て" };
inline const FixedText searchBlackWon { u8"黒勝" };
inline const FixedText searchWhiteWon { u8"白勝" };
inline const FixedText searchDraw { u8"引分" };

// Library
inline const FixedText privateFileName { u8"private.kif" };
inline const FixedText yahooFileName { u8"yahoo.kif" };
inline const FixedText trashFileName { u8"dustbox.kif" };
inline const FixedText newsFileName { u8"news.kif" };
inline const FixedText openingFileName { u8"opening.txt" };
inline const FixedText dataDirectoryInUseTitle { u8"Pavione" };
inline const FixedText dataDirectoryInUse {
    u8"このデータ フォルダは別の Pavione が使用中です。終了します。"
};
inline const FixedText newFolderName { u8"新しいフォルダ" };
inline const FixedText newFolderNumbered { u8"新しいフォルダ(%d)" };
inline const FixedText newRecordName { u8"新しい棋譜" };
inline const FixedText newRecordNumbered { u8"新しい棋譜(%d)" };
inline const FixedText copyName { u8"コピー～%s" };
inline const FixedText copyNumbered { u8"コピー(%d)～%s" };
inline const FixedText numberedName { u8"%s(%d)" };
inline const FixedText importedRecordName { u8"インポート棋譜" };
inline const FixedText newsFolderName { u8"@Pavione ニュース" };
inline const FixedText newsFolderComment { u8"Pavione からのニュースです" };
inline const FixedText nameEmpty { u8"棋譜名またはフォルダ名が入力されていません。" };
inline const FixedText nameBadCharacter {
    u8"棋譜名及びフォルダ名には次の文字は使えません。\r\n　　　　\\ /"
};
inline const FixedText nameNotInCodePage {
    u8"棋譜名及びフォルダ名には次の文字は使えません。\r\n　　　　%s"
};
inline const FixedText nameTaken {
    u8"指定された棋譜名またはフォルダ名は既に存在します。別の名前を指定して下さい。"
};
inline const FixedText renameErrorTitle { u8"棋譜名またはフォルダ名の変更 エラー" };
inline const FixedText shareNameEmpty { u8"共有名が入力されていません。" };
inline const FixedText shareNameBadCharacter {
    u8"共有名には次の文字は使えません。\r\n　　　　\\ /"
};
inline const FixedText shareNameTaken { u8"指定された共有名には既に使用されています。" };
inline const FixedText shareErrorTitle { u8"フォルダの共有 エラー" };
inline const FixedText deleteFolderTitle { u8"フォルダの削除の確認" };
inline const FixedText deleteFolderQuestion {
    u8"フォルダ '%s' とフォルダ内の棋譜を%sしてもよろしいですか?"
};
inline const FixedText deleteTrashFolderQuestion { u8"フォルダ '%s' を%sしてもよろしいですか?" };
inline const FixedText deleteRecordTitle { u8"棋譜の削除の確認" };
inline const FixedText deleteRecordQuestion { u8"棋譜 '%s' を%sしてもよろしいですか?" };
inline const FixedText deleteManyTitle { u8"複数棋譜の削除の確認" };
inline const FixedText deleteManyQuestion { u8"これらの %d 個の棋譜を%sしてもよろしいですか?" };
inline const FixedText verbDelete { u8"削除" };
inline const FixedText verbMoveToTrash { u8"ごみ箱に移動" };
inline const FixedText copyConfirmTitle { u8"フォルダと棋譜のコピーの確認" };
inline const FixedText copyConfirmText {
    u8"このフォルダには同名のフォルダまたは棋譜が存在します。\n\n既に存在するフォルダや棋譜の名前と"
    u8"移動またはコピーしようとしているフォルダや棋譜が同じ名前の場合、名前を変更してコピーされま"
    u8"す。\n\nフォルダや棋譜をコピーまたは移動しますか?"
};
inline const FixedText copyErrorTitle { u8"棋譜またはフォルダのコピー エラー" };
inline const FixedText copyIntoOwnSubfolder {
    u8"コピーできません。受け側のフォルダは送り側フォルダのサブフォルダです。"
};
inline const FixedText moveErrorTitle { u8"棋譜またはフォルダの移動 エラー" };
inline const FixedText moveIntoSameFolder {
    u8"移動できません。受け側と送り側が同じフォルダです。"
};
// The folder table of a collection holds at most 32767 folders, removed ones included until the
// next start.
inline const FixedText folderTableFullTitle { u8"Pavione" };
inline const FixedText folderTableFull { u8"フォルダの数が上限に達したため、操作を中止しました。保"
                                         u8"存して再起動すると、削除したフォルダの分"
                                         u8"だけ作れるようになります。" };

// KAフォーマットで保存: the save dialog's title and the file it proposes.
inline const FixedText kaExportTitle { u8"KAフォーマットで保存" };
inline const FixedText kaExportFileName { u8"output.ka" };

// Folder tree
inline const FixedText folderRenameErrorTitle { u8"フォルダ名の変更 エラー" };
inline const FixedText folderNameTaken {
    u8"指定されたフォルダ名は既に存在します。別の名前を指定して下さい。"
};

// Record list
inline const FixedText columnName { u8"名前" };
inline const FixedText columnBlack { u8"黒番" };
inline const FixedText columnWhite { u8"白番" };
inline const FixedText columnResult { u8"結果" };
inline const FixedText columnOpening { u8"定石" };
inline const FixedText columnDate { u8"日付" };
inline const FixedText columnDeletedAt { u8"削除時刻" };
inline const FixedText columnComment { u8"コメント" };

// Document
inline const FixedText buttonYes { u8"はい" };
inline const FixedText buttonNo { u8"いいえ" };
inline const FixedText buttonRetry { u8"再試行(&R)" };
inline const FixedText buttonQuitAnyway { u8"保存しないで終了(&Q)" };
inline const FixedText saveErrorTitle { u8"保存 エラー" };
// %s: the file's full name, then the reason.
inline const FixedText saveFailed { u8"ファイル \"%s\" に保存できませんでした。\n%s" };
inline const FixedText saveFailedAtExit {
    u8"\n\nもう一度保存しますか? 保存しないで終了すると、前回の保存から後の変更は失われます。"
};
inline const FixedText saveReasonNoFolder { u8"保存先のフォルダがありません。" };
inline const FixedText saveReasonDiskFull { u8"ディスクがいっぱいです。" };
inline const FixedText saveReasonReadOnlyFolder {
    u8"保存先のフォルダに書き込む権限がありません。"
};
inline const FixedText saveReasonFolderInTheWay {
    u8"同じ名前のフォルダがあるため、ファイルを置けません。"
};
inline const FixedText saveReasonUnreadableNotKept {
    u8"読み込めなかった元のファイルを残せなかったため、上書きしません。"
};
inline const FixedText saveReasonOther { u8"書き込みの途中でエラーが起きました。" };
inline const FixedText loadErrorTitle { u8"棋譜ファイルの読み込み エラー" };
// %s: the file's full name, then the name of the kept copy.
inline const FixedText loadFailedKept {
    u8"棋譜ファイル \"%s\" を最後まで読み込めませんでした。読み込めた分だけを表示しています。\n"
    u8"元のファイルは \"%s\" として残してあります。"
};
// %s: the file's full name.
inline const FixedText loadFailedNotKept {
    u8"棋譜ファイル \"%s\" を最後まで読み込めませんでした。読み込めた分だけを表示しています。\n"
    u8"元のファイルを残せなかったため、このファイルには保存しません。"
};
// %s: the file held back at start, then the name it is now kept under.
inline const FixedText savedAfterKeeping {
    u8"読み込めなかった棋譜ファイル \"%s\" を \"%s\" として残してから、保存しました。"
};

// Yahoo! Games capture
// The title of a table window of the client: the prefix, then room, table number and host.
inline const FixedText tableTitlePrefix { u8"ゲーム：Othello" };
inline const FixedText tableTitleRoom { u8" - ルーム：" };
inline const FixedText tableTitleTable { u8" - テーブル：" };
inline const FixedText tableTitleHost { u8" - ホスト：" };
inline const FixedText captureWindowTitle { u8"棋譜の取得" };
// %s: the room, then the table number.
inline const FixedText captureTitleFormat { u8"%s #%03d" };
inline const FixedText captureBlackLabel { u8"黒：" };
inline const FixedText captureWhiteLabel { u8"白：" };
inline const FixedText captureAutoSave { u8"棋譜の自動保存" };
inline const FixedText captureCopy { u8"クリップボードへコピー" };
inline const FixedText captureSave { u8"保存" };
inline const FixedText captureSettingsTitle { u8"Yahoo! Othello 採譜機能のプロパティ" };
inline const FixedText captureSettingAuto { u8"アプリケーション起動時に採譜機能をONにする" };
inline const FixedText captureSettingSave { u8"終局時に棋譜を自動で保存する" };
inline const FixedText captureSettingBell { u8"両方の席が埋まったら音を鳴らす" };
inline const FixedText captureSettingClose { u8"結果報告ウィンドウを自動的に閉じる" };

} // namespace texts
