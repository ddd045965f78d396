#pragma once
// Every text, element name and address part the practice site shows or relies on, in one place.
// The workflows look for several of these verbatim, so they must not be reworded.

namespace zk::site::texts {

// Element names and identifiers the workflows address.
inline constexpr const char* InsertionOk = "auc_insertion_ok";
inline constexpr const char* SalesModeAuction = "salesmode_auction";
inline constexpr const char* ClosingDate = "ClosingDate";
inline constexpr const char* ClosingTime = "ClosingTime";
inline constexpr const char* AddBankForm = "auc_add_bkform";
inline constexpr const char* AddPaymentForm = "auc_add_pyform";
inline constexpr const char* Submit1 = "auc_submit1";
inline constexpr const char* AidList = "aidlist";
inline constexpr const char* LoginField = "login";
inline constexpr const char* PasswordField = "passwd";
// The one-time code the login-more variant asks for.
inline constexpr const char* OneTimeCodeField = "otp";

// Form field names of the listing form that FieldsDefine.ini refers to.
inline constexpr const char* TitleField = "item_title";
inline constexpr const char* DescriptionField = "item_description";
inline constexpr const char* StartPriceField = "price_start";
inline constexpr const char* BuyNowPriceField = "price_buynow";

// Texts the workflows search for.
inline constexpr const char* HtmlTagLink = "HTMLタグ入力";
inline constexpr const char* RichTextLink = "テキスト入力";
inline constexpr const char* ToPicturePage = "画像登録画面へ";
inline constexpr const char* EditPictures = "画像の編集";
inline constexpr const char* AgreeAndList = "利用規約とガイドラインに同意して出品する";
inline constexpr const char* ItemPageLink = "このオークションの商品ページを見る";
inline constexpr const char* RelistLink = "この商品を再出品";
inline constexpr const char* ListedMessage = "出品手続きが完了しています";
// The completion-text variant's words for the completion page and its item link.
inline constexpr const char* ListedMessageChanged = "出品を受け付けました";
inline constexpr const char* ItemPageLinkChanged = "出品した商品を見る";
inline constexpr const char* EntryTitle = "商品情報入力";
inline constexpr const char* Yen = " 円";
inline constexpr const char* RedirectLink = "別窓で開く";

// Page titles.
inline constexpr const char* SiteName = "練習用オークション";
inline constexpr const char* LoginTitle = "ログイン";
inline constexpr const char* TopTitle = "マイページ";
inline constexpr const char* CategoryConfirmTitle = "カテゴリの確認";
inline constexpr const char* PicturePageTitle = "画像の登録";
inline constexpr const char* PreviewTitle = "出品内容の確認";
inline constexpr const char* CompleteTitle = "出品の完了";
inline constexpr const char* RelistTitle = "商品情報入力（再出品）";
inline constexpr const char* ErrorTitle = "エラー";
inline constexpr const char* SellingTitle = "出品中の商品";
inline constexpr const char* SoldTitle = "落札された商品";
inline constexpr const char* UnsoldTitle = "落札者なしの商品";

// Buttons and labels.
inline constexpr const char* LoginButton = "ログイン";
inline constexpr const char* ConfirmCategoryButton = "このカテゴリに出品する";
inline constexpr const char* ConfirmRelistButton = "この商品を再出品する";
inline constexpr const char* ConfirmButton = "確認する";
inline constexpr const char* UploadButton = "アップロード";
inline constexpr const char* BrowseButton = "参照...";
inline constexpr const char* RemovePictureButton = "登録解除";
inline constexpr const char* BackToEntryButton = "出品画面に戻る";
inline constexpr const char* CorrectButton = "修正する";
inline constexpr const char* AddBankButton = "銀行口座を追加";
inline constexpr const char* AddPaymentButton = "その他の決済方法を追加";
inline constexpr const char* NextPage = "次のページ";
inline constexpr const char* PreviousPage = "前のページ";
inline constexpr const char* NoItems = "該当する商品はありません。";
inline constexpr const char* RelistAll = "チェックした商品をまとめて再出品";

// Messages.
inline constexpr const char* LoginFailed = "IDまたはパスワードが正しくありません。";
inline constexpr const char* LoginRequired = "ログインしてください。";
inline constexpr const char* TooManySlowPages = "遅いページは同時にこれ以上表示できません。";
inline constexpr const char* UnknownHost = "このホストはありません。";
inline constexpr const char* NotFound = "ページが見つかりません。";
inline constexpr const char* UnknownCategory = "カテゴリが正しくありません。";
inline constexpr const char* UnknownDraft = "この出品手続きは終了しているか、存在しません。";
inline constexpr const char* UnknownAuction = "このオークションは存在しません。";
inline constexpr const char* NotRelistable = "この商品は再出品できません。";
inline constexpr const char* TitleMissing = "商品名を入力してください。";
inline constexpr const char* TitleTooLong = "商品名は全角30文字（半角60文字）以内で入力してください。";
inline constexpr const char* StartPriceInvalid = "開始価格は1円以上の半角数字で入力してください。";
inline constexpr const char* BuyNowInvalid = "即決価格は半角数字で入力してください。";
inline constexpr const char* BuyNowBelowStart = "即決価格は開始価格以上にしてください。";
inline constexpr const char* ClosingDateInvalid = "終了日時を選択してください。";
inline constexpr const char* ClosingTimeInvalid = "終了時間が正しくありません。";
inline constexpr const char* SalesModeMissing = "販売形式を選択してください。";
inline constexpr const char* PictureNotImage = "画像ファイル（JPEG、PNG、GIF）を選択してください。";
inline constexpr const char* PictureTooLarge = "画像ファイルが大きすぎます。";
inline constexpr const char* ServerError = "ただいまサーバーが混み合っています。";
inline constexpr const char* FormTooLarge =
    "送信された内容が大きすぎるため、受け付けられませんでした。説明文などを短くして、もう一度送信してください。";

} // namespace zk::site::texts
