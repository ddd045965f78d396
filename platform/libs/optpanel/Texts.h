#pragma once
// Every text the option editor shows.
#include <QString>

namespace zk::optpanel::texts {

inline const QString DialogTitle = QStringLiteral("オプション設定");
inline const QString GroupSystem = QStringLiteral("基本設定");
inline const QString LabelTitle = QStringLiteral("商品タイトルの要素名");
inline const QString LabelSetumei = QStringLiteral("商品説明の要素名");
inline const QString LabelStartPrice = QStringLiteral("開始価格の位置");
inline const QString LabelBuyPrice = QStringLiteral("即決価格の位置");
inline const QString LabelSection = QStringLiteral("セクション");
inline const QString LabelItem = QStringLiteral("項目");
inline const QString LabelBankName = QStringLiteral("銀行口座の入力欄の数");
inline const QString LabelBankDefault = QStringLiteral("銀行口座の初期表示数");
inline const QString LabelSonotaKessai = QStringLiteral("その他決済の入力欄の数");
inline const QString LabelKessaiDefault = QStringLiteral("その他決済の初期表示数");
inline const QString LabelSectionNum = QStringLiteral("セクション数");
inline const QString NotSet = QStringLiteral("未設定");

inline const QString GroupFields = QStringLiteral("フィールド");
inline const QString AddSection = QStringLiteral("セクション追加");
inline const QString RemoveSection = QStringLiteral("セクション削除");
inline const QString AddField = QStringLiteral("フィールド追加");
inline const QString RemoveField = QStringLiteral("削除");
inline const QString HeaderNo = QStringLiteral("No.");
inline const QString HeaderName = QStringLiteral("要素名 (NAME)");
inline const QString HeaderType = QStringLiteral("種類 (TYPE)");
inline const QString HeaderValue = QStringLiteral("値 (VALUE)");
inline const QString UnknownType = QStringLiteral("%1（不明な種類）");
inline const QString ValueHint = QStringLiteral(
    "値の書き方: TEXT は入力する文字、CHECK は ON か OFF、COMBO は選択肢の番号、RADIO はボタンの番号（番号は 0 から）");
inline const QString NoFields = QStringLiteral("このセクションにはフィールドがありません。「フィールド追加」で追加してください。");
inline const QString NoSections = QStringLiteral("セクションがありません。「セクション追加」で追加してください。");
inline const QString StartPriceName = QStringLiteral("開始価格");
inline const QString BuyPriceName = QStringLiteral("即決価格");
inline const QString PriceAt = QStringLiteral("%1 → SECTION%2 の %3 番目（%4）");
inline const QString PriceMissing = QStringLiteral("%1 → 指定の位置にフィールドがありません");

inline const QString Save = QStringLiteral("保存");
inline const QString Cancel = QStringLiteral("キャンセル");

inline const QString CaptionError = QStringLiteral("エラー");
inline const QString CaptionConfirm = QStringLiteral("確認");
inline const QString LoadFailed = QStringLiteral("FieldsDefine.iniを開けません。\n%1");
inline const QString SaveFailed = QStringLiteral("FieldsDefine.iniの保存に失敗しました。\n%1");
// The file is CP932: a text with a character it has not would be saved as "?".
inline const QString NotInCp932 = QStringLiteral("FieldsDefine.ini（CP932）に書けない文字があるため、保存しませんでした：%1");
inline const QString ConfirmIncomplete = QStringLiteral(
    "次の項目が未設定です。\n%1\nこのまま保存すると、次に読み込むときにエラーになります。保存しますか？");
inline const QString TooManySections = QStringLiteral("セクション数が多すぎます（%1、上限 %2）。");
inline const QString TooManyFields = QStringLiteral("SECTION%1 のフィールド数が多すぎます（%2、上限 %3）。");
inline const QString Unexpected = QStringLiteral("オプション設定でエラーが発生しました。\n%1");

} // namespace zk::optpanel::texts
