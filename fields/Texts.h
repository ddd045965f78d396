#pragma once
// Texts of the field definitions, exactly as the seller sees them.
#include <QString>

namespace zk::texts::fields {

inline const QString CaptionFatal = QStringLiteral("続行不可能エラー");
inline const QString NoFile = QStringLiteral("FieldsDefine.iniがありません。");
inline const QString OpenFailed = QStringLiteral("フィールド定義ファイルのオープンに失敗しました。");
inline const QString CaptionKeyError = QStringLiteral("INIファイル読み込みエラー");
// Filled with the section and the key name.
inline const QString KeyUnreadable = QStringLiteral("SECTION[%1]のKEY[%2]が読み込めません。");
// Filled with the section, the key name, the value and the largest count allowed.
inline const QString CountTooLarge =
    QStringLiteral("FieldsDefine.iniのSECTION[%1]のKEY[%2]の値が大きすぎます（%3、上限 %4）。");
inline const QString CaptionError = QStringLiteral("エラー");
inline const QString IndexPastFields = QStringLiteral("フィールド数を超えてしていされました。");


// The form filling.
inline const QString NoFillableForm = QStringLiteral("セットできるフォームが有りません");
// A COMBO or RADIO value that is no number; filled with the field's name and value.
inline const QString ValueNotNumber = QStringLiteral("FieldsDefine.iniの項目[%1]の値[%2]が数値ではありません。");
// The sales mode's radio button did not stay chosen however often it was keyed.
inline const QString SalesModeNotSet = QStringLiteral("販売形式（オークション形式）を選択できませんでした。送信していません。");

// The closing date and hour: filled with the panel's label of the chosen slot (and, for the
// question, the page's labels of the nearest slot it offers).
inline const QString ClosingNotOnPage = QStringLiteral("選んだ終了日時（%1）をこのページの終了日時にセットできません。");
inline const QString ClosingNotSet = QStringLiteral("終了日時のセットに失敗しました。");
inline const QString ClosingPassed = QStringLiteral(
    "選んだ終了日時（%1）は、このページではもう選べません。\n%2 に変えてセットしますか？\n\n「いいえ」で項目セットを中止します（送信しません）。");

} // namespace zk::texts::fields
