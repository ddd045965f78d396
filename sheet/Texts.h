#pragma once
// Every text the spreadsheet wrapper and the workbook session show.
#include <QString>

namespace zk::sheet::texts {

// The wrapper
inline const QString StartFailed = QStringLiteral("表計算が起動できませんでした");
inline const QString WindowMissing = QStringLiteral("表計算の起動に失敗しました");
inline const QString WindowMissingCaption = QStringLiteral("ERROR");
inline const QString StartFirst = QStringLiteral("表計算を起動してください");
inline const QString NoFileName = QStringLiteral("ファイル名を指定してください。");
inline const QString NoReference = QStringLiteral("オブジェクトが設定されていません: ");
inline const QString NoSheet = QStringLiteral("シートがありません: ");

// The session
inline const QString FileFilter = QStringLiteral("表計算のファイル (*.xls;*.xlsx)|*.XLS;*.XLSX");
inline const QString NotAWorkbook = QStringLiteral(" は、表計算の文書ではありません。");
inline const QString NoSuchFile = QStringLiteral(" は有りません。");
inline const QString ErrorCaption = QStringLiteral("エラー");
inline const QString ExcelErrorCaption = QStringLiteral("表計算のエラー");
inline const QString CloseFailed = QStringLiteral("次のエラーにより、表計算の終了に失敗しました。\n\n");
inline const QString ReadFailed = QStringLiteral("次のエラーにより、表計算からデータの取得に失敗しました。\n\n");
inline const QString WriteFailed = QStringLiteral("次のエラーにより、表計算への書き込みに失敗しました。\n\n");
inline const QString RestartAdvice = QStringLiteral(
    "\n\nZerkonで表計算の再起動をして下さい。"
    "１．([表計算]ボタン下の[閉じる]をクリックし、[表計算]ボタンで再度起動して下さい。"
    "２．その場合、アップロード済みの画像を戻すために[画像を１出品分戻す]ボタンを\n"
    "クリックしてから行って下さい。(ブラウザ上のアップロード画像はそのままです)");
inline const QString EditModeRepair = QStringLiteral("表計算から拒否されました。\n編集モードになっていると思われますので、修正します。");
inline const QString EditModeCaption = QStringLiteral("編集モード修正");
inline const QString OpenFailed = QStringLiteral("次のエラーにより、表計算の文書を開けませんでした。\n\n");
inline const QString OpenDialogCaption = QStringLiteral("開く");

// The seller closed the office's window (or the workbook in it) while the panel drives it.
inline const QString CloseWithPanel = QStringLiteral(
    "表計算のウィンドウは、Zerkonが使っている間は閉じられません。\n"
    "操作パネルの「閉じる」ボタンで、保存してから閉じて下さい。");

// Window placement
inline const QString PlacementName = QStringLiteral("Excel");

} // namespace zk::sheet::texts
