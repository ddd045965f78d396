#pragma once
// Every message the category dialog shows, in one place. The captions of its controls are in
// its form, Categoryform.ui.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::category::texts {

inline const QString NoCode = QStringLiteral("この項目はカテゴリ番号未設定です。");
inline const QString SelectPlease = QStringLiteral("選択してください");
inline const QString SelectSearchCategory = QStringLiteral("検索カテゴリを選択して下さい");
inline const QString SearchFailed = QStringLiteral("検索に失敗しました");
inline const QString NotFoundSearchAgain =
    QStringLiteral("このカテゴリ内に見つかりませんでした\nもう一度先頭から検索しますか？");
// The history could not be written; the chosen category is still used. Followed by the path.
inline const QString HistoryNotSaved = QStringLiteral("履歴ファイルに書き込めませんでした。\n");

// The navigation to the listing page of the chosen category.
inline const QString ListingPageNotShown = QStringLiteral("出品ページに切り替わりません。");
inline const QString NoLinks = QStringLiteral("LINKを取得できません。");
inline const QString NoLinkCount = QStringLiteral("Aタグの数が取得できません。");
inline const QString& HtmlTagLink = browser::site::HtmlTagLink;

inline const QString InformationCaption = QStringLiteral("情報");
inline const QString ConfirmCaption = QStringLiteral("確認");
inline const QString ErrorCaption = QStringLiteral("エラー");

} // namespace zk::category::texts
