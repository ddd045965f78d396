#pragma once
// The relisting workflow's texts.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::relist::texts {

inline const QString SetClosing = QStringLiteral("終了日／終了時刻をセットしてください");
inline const QString NoData = QStringLiteral("ブラウザからデータの取得ができませんでした。");
inline const QString WrongPage = QStringLiteral("正しいページになっていません。");
inline const QString FromItemPage = QStringLiteral("商品個別の再出品ページから行って下さい。");
inline const QString MoveFailed = QStringLiteral("出品確認画面への移行に失敗しました。");
inline const QString NotRelistPage = QStringLiteral("再出品画面でない画面が表示されています。");
inline const QString NoUnsoldPage = QStringLiteral("落札者無しページに切り替わりません。");
inline const QString& EntryTitle = browser::site::EntryTitle;

inline const QString PricesEntered =
    QStringLiteral("開始価格/即決価格が入力されています。\n全てこの価格で再出品されます。続行しますか？");
inline const QString ContinueCaption = QStringLiteral("続行確認");
inline const QString NotUnsoldList = QStringLiteral("[出品終了分]の[落札者無し]ページで行って下さい");
inline const QString ConfirmCaption = QStringLiteral("確認");
inline const QString RelistTicked = QStringLiteral("チェックされた項目の再出品処理を行います。よろしいですか？");
inline const QString RelistAll = QStringLiteral("全件の再出品処理を行います。よろしいですか？");
inline const QString RelistFiltered = QStringLiteral("を含むタイトルの再出品処理を行います。よろしいですか？");
inline const QString AllDone =
    QStringLiteral("全ての再出品が終了しました。\n\n残っているものは,既に出品されているか\n再出品に失敗したものです。");
// How far a bulk relist is, on the panel while it runs.
inline const QString Progress = QStringLiteral("%1巡目　試行 %2件　再出品 %3件　スキップ %4件");

} // namespace zk::relist::texts
