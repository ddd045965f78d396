#pragma once
// Every text the application shell shows, exactly as the seller sees it.
#include <QString>

namespace zk::texts {

inline const QString AppCaption = QStringLiteral("Zerkon1.0");
inline const QString MutexInconsistent = QStringLiteral("Mutex情報が矛盾しています");
inline const QString MutexUnavailable = QStringLiteral("二重起動を防ぐロックを作れないため、起動できません。\n");

inline const QString CaptionFatal = QStringLiteral("続行不可能エラー");
inline const QString CaptionDeadly = QStringLiteral("致命的なエラー");
inline const QString CaptionError = QStringLiteral("エラー");

inline const QString NoAppFolder = QStringLiteral("アプリケーションフォルダの取得に失敗しました。");
// Our own: a data folder that is not the seller's alone is not used.
inline const QString DataFolderRefused = QStringLiteral("データフォルダ %1 は使えません：%2。\n起動を中止します。");
inline const QString DataFolderMissing = QStringLiteral("開けません（%1）");
inline const QString DataFolderNotAFolder = QStringLiteral("フォルダではありません");
inline const QString DataFolderOtherOwner =
    QStringLiteral("別のユーザー %1 のフォルダです。自分のフォルダを指定して下さい");
inline const QString DataFolderCannotRestrict = QStringLiteral("自分だけが使えるようにできません（%1）");
inline const QString NoSystemIni = QStringLiteral("System.iniがありません。");
inline const QString SystemIniOpenFailed = QStringLiteral("システム初期化ファイルのオープンに失敗しました。");
inline const QString NoSystemSection = QStringLiteral("SYSTEM.INIのSYSTEMセクションが定義されていません。\n終了します。");
inline const QString SystemIniIncomplete = QStringLiteral("SYSTEM.INIが正しく設定されていません。");

inline const QString RegNoAppName = QStringLiteral("このAPLの名前がセットされていません");
inline const QString RegNoTargetName = QStringLiteral("制御対象APLの名前がセットされていません");

inline const QString Curtain = QStringLiteral("マウスやキーボードを操作しないでください");
inline const QString SideToSub = QStringLiteral("＜");
inline const QString SideToMain = QStringLiteral("＞");
inline const QString ReShuppinCaption = QStringLiteral("落札者無し頁へ");
inline const QString UploadHint = QStringLiteral("Shiftを押しながらで、タイトルと説明を再セット");
inline const QString RSSokketuHint =
    QStringLiteral("ヒント|チェックし[即決価格]を空にすると、\n出品中の開始価格を即決価格とします。\n|0");

// Account dialog.
inline const QString AccountCaption = QStringLiteral("ID設定");
inline const QString NoId = QStringLiteral("YahooIDが入力されていません");
inline const QString NoPassword = QStringLiteral("パスワードが入力されていません");
inline const QString PasswordMismatch = QStringLiteral("パスワードが一致しません");
// System.ini is CP932: an account with a character it has not would be stored as another one.
inline const QString IdNotInCp932 = QStringLiteral("YahooIDに System.ini（CP932）に書けない文字があります：%1");
// The password's characters are not shown.
inline const QString PasswordNotInCp932 = QStringLiteral("パスワードに System.ini（CP932）に書けない文字があります");

} // namespace zk::texts

namespace zk::texts {
// The option editor library could not be loaded (the program cannot run without it).
inline const QString TextPlusLibraryMissing = QStringLiteral("説明文追加ライブラリ(textplus)を読み込めません。\n%1");
inline const QString OptionLibraryMissing = QStringLiteral("オプション設定ライブラリ(optpanel)を読み込めません。\n%1");
inline const QString PreviewLibraryMissing = QStringLiteral("画像プレビューライブラリ(photoview)を読み込めません。\n%1");
} // namespace zk::texts

namespace zk::texts {
// The command line's answers (one screen for the help).
// The command line site check: why it could not run.
inline const QString CheckNoDataFolder = QStringLiteral("データフォルダを使えません：%1");
inline const QString CheckNoSystemIni = QStringLiteral("System.ini を読めないか、正しく設定されていません：%1");
inline const QString CheckNoFieldsDefine = QStringLiteral("FieldsDefine.ini を読めません：%1");
inline const QString CheckNoBrowser = QStringLiteral("ブラウザを起動できません：%1");
inline const QString CommandVersion = QStringLiteral("Zerkon %1\n");
inline const QString CommandHelp = QStringLiteral(
    "Zerkon %1 ― オークションサイトへの出品・再出品・商品名収集を行う出品者用コントロールパネル\n"
    "\n"
    "使い方: zerkon [--help | --version | --check-site]\n"
    "  --check-site  画面を出さずにサイトを点検 (終了コード 0 異常なし、1 要素が変わった、2 接続不可)\n"
    "\n"
    "データフォルダ: %2\n"
    "  System.ini、FieldsDefine.ini、category.txt などを置くフォルダです。\n"
    "  初回の起動でこれらが無いときは「Zerkonの初期設定」が開き、実際のサイト用\n"
    "  (既定の内容から作成)、練習用サイト (zerkon-site を自動で起動)、既存のフォルダ\n"
    "  のいずれかで始められます。\n"
    "\n"
    "環境変数:\n"
    "  ZERKON_DATA_DIR                 データフォルダ (既定 $XDG_DATA_HOME/Zerkon/)\n"
    "  ZERKON_DOCUMENTS_DIR            商品名収集のブックの保存先 (既定 XDG のドキュメント)\n"
    "  ZERKON_REGISTRY_FILE            ウィンドウ位置 (既定 $XDG_CONFIG_HOME/Zerkon/registry.ini)\n"
    "  ZERKON_BROWSER_CALL_TIMEOUT_MS  ブラウザの応答を待つ上限 (ミリ秒、既定 20000)\n"
    "  ZERKON_OFFICE_CALL_TIMEOUT_MS   表計算の応答を待つ上限 (ミリ秒、既定 30000)\n"
    "  ZERKON_OFFICE_HEADLESS=1        表計算を画面に出さずに動かす\n"
    "  ZERKON_ANSWERS                  メッセージとダイアログに答えるファイル (無人実行)\n"
    "  ZERKON_TRANSCRIPT               答えたメッセージとダイアログの記録 (JSON 行)\n"
    "  ZERKON_NOW                      時計の開始時刻 (yyyy-MM-ddTHH:mm:ss)\n"
    "  ZERKON_SCREENSHOT               起動後に画面を保存する PNG ファイル\n"
    "  ZERKON_SCREENSHOT_DELAY         保存までの待ち時間 (ミリ秒、既定 3000)\n"
    "  ZERKON_QUIT_AFTER_SCREENSHOT=1  保存したら終了する\n");
} // namespace zk::texts

namespace zk::texts {
// The setup window of a first start without a usable data folder.
inline const QString SetupCaption = QStringLiteral("Zerkonの初期設定");
inline const QString SetupFolder = QStringLiteral("データフォルダ：%1");
inline const QString SetupEmpty = QStringLiteral(
    "このフォルダにはまだ設定ファイル（System.ini、FieldsDefine.ini、category.txt）がありません。\n"
    "どのように始めるかを選んで下さい。");
inline const QString SetupIncomplete = QStringLiteral(
    "このフォルダには %1 がありません。\n"
    "既定の内容で作るか、別のデータフォルダを選んで下さい（今ある設定ファイルはそのまま残します）。");
inline const QString SetupSiteGroup = QStringLiteral("実際のオークションサイト用に作る");
inline const QString SetupSiteNote = QStringLiteral(
    "サイトのアドレスは下の２つのホスト名から作ります。IDとオプションはこの後で設定します。");
inline const QString SetupAuctionHost = QStringLiteral("オークションのホスト名");
inline const QString SetupLoginHost = QStringLiteral("ログインのホスト名");
inline const QString SetupSiteButton = QStringLiteral("実際のサイト用に作成(&R)");
inline const QString SetupRestoreButton = QStringLiteral("既定の内容で作成(&R)");
inline const QString SetupPracticeButton = QStringLiteral("練習用サイトで始める(&P)");
inline const QString SetupPracticeNote = QStringLiteral(
    "このパソコンの中だけで動く練習用サイト（zerkon-site）で出品を試せます。\n"
    "Zerkonが起動のたびに練習用サイトを起動し、終了する時に止めます。");
inline const QString SetupChooseButton = QStringLiteral("既存のフォルダを選ぶ(&F)...");
inline const QString SetupQuitButton = QStringLiteral("終了(&X)");
inline const QString SetupChooseCaption = QStringLiteral("データフォルダの System.ini を選んで下さい");
inline const QString SetupChooseFilter = QStringLiteral("System.ini|System.ini");
inline const QString SetupHostEmpty = QStringLiteral("%1を入力して下さい。");
inline const QString SetupHostInvalid = QStringLiteral("%1「%2」はホスト名ではありません（例：auctions.example.jp、ポート付きなら :8080 を後に）。");
inline const QString SetupMakeFailed = QStringLiteral("データフォルダを作れませんでした。\n%1");
// System.ini is CP932: a text with a character it has not would read back as another text.
inline const QString SetupNotInCp932 = QStringLiteral("「%1」には System.ini（CP932）に書けない文字があります：%2");
inline const QString SetupPracticeFailed = QStringLiteral("練習用サイトを起動できませんでした。\n%1");
inline const QString SetupChosenIncomplete = QStringLiteral("選んだフォルダ %1 には %2 がありません。");
inline const QString SetupChosenUnreadable = QStringLiteral("選んだフォルダの %1 を読めません。");
inline const QString SetupNotRemembered = QStringLiteral(
    "選んだフォルダを次回の起動のために記録できませんでした（%1）。\n今回はこのフォルダで起動します。");
// A practice folder whose site cannot be started at a later start.
inline const QString PracticeStartFailed = QStringLiteral("練習用サイトを起動できないため、起動を中止します。\n%1");
// Starting the practice site afresh, from the settings area of a practice folder's panel.
inline const QString PracticeResetButton = QStringLiteral("練習用サイトを初期化");
inline const QString PracticeResetCaption = QStringLiteral("練習用サイトの初期化");
inline const QString PracticeResetQuestion = QStringLiteral(
    "練習用サイトの商品（出品中・落札・未落札）、再出品、画像をすべて消して、始めた時と同じ見本の商品に戻します。\n"
    "元には戻せません。オークションIDは今までの続きの番号から振るので、ブックに残る古いIDと重なることはありません。\n\n"
    "初期化しますか？");
inline const QString PracticeResetDone = QStringLiteral("練習用サイトを初期化しました。");
inline const QString PracticeResetFailed = QStringLiteral("練習用サイトを初期化できませんでした。\n%1");
// A file that is there but cannot be read: the fatal error names it.
inline const QString UnreadableFile = QStringLiteral("\n%1");
// The program's one version, after the caption.
inline const QString VersionedCaption = QStringLiteral("%1　(バージョン %2)");
} // namespace zk::texts
