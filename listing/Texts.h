#pragma once
// Every text of the listing workflow, and the page texts it looks for.
#include "browser/SiteMap.h"

#include <QString>

namespace zk::listing::texts {

inline const QString TitleEditCaption = QStringLiteral("商品タイトル編集");
inline const QString TitleTooLong = QStringLiteral("商品タイトルが３０文字を超えています。");
inline const QString EditedTitle = QStringLiteral("修正タイトル");
inline const QString Ruler10 = QStringLiteral("10文字");
inline const QString Ruler20 = QStringLiteral("20文字");
inline const QString Ruler30 = QStringLiteral("30文字");
inline const QString RulerLimit = QStringLiteral("この線を越えてはダメだよ～");
inline const QString CancelHint = QStringLiteral("キャンセルすると、タイトルはそのままブラウザに挿入されます。");
inline const QString Confirm = QStringLiteral("修正完了(&K)");
inline const QString Cancel = QStringLiteral("キャンセル(&C)");
inline const QString CannotGoBack = QStringLiteral("これ以上戻せません");


// The item set.
inline const QString NotOnEntryForm = QStringLiteral("出品ページに移動してから行って下さい。");
inline const QString SetClosingFirst = QStringLiteral("終了日／終了時刻をセットしてください");
inline const QString ScreenNotChanged = QStringLiteral("画面が切り替わりません");
inline const QString StartPriceNotSet = QStringLiteral("開始価格のセットに失敗しました。");
inline const QString BuyPriceNotSet = QStringLiteral("即決価格のセットに失敗しました。");
inline const QString StartPriceNotRead = QStringLiteral("開始価格の取得に失敗しました。");
// Our own: the lists were rebuilt on the hour and no longer offer the chosen date or hour.
inline const QString ClosingChoiceGone =
    QStringLiteral("選んでいた終了日時（%1）は選べなくなったため、選択を外しました。\n終了日時を選び直して下さい。");
// The one-listing undo after a lost browser or a failed browser operation.
inline const QString OneListingUndone =
    QStringLiteral("アップロード画像と表計算のタイトルは１出品戻されました。\n\n※注意：Yahooにアップロードされている画像はそのままです。");
inline const QString InformationCaption = QStringLiteral("情報");

// What the listing form holds.
inline const QString& SubmitElement = browser::site::SubmitElement;
inline const QString& AddBankElement = browser::site::AddBankElement;
inline const QString& AddPaymentElement = browser::site::AddPaymentElement;
// The picture upload.
inline const QString FileChooserTitle = QStringLiteral("アップロードするファイルの選択");
inline const QString& ToPicturePage = browser::site::ToPicturePage;
inline const QString& EditPictures = browser::site::EditPictures;
inline const QString TitleSetFailedShort = QStringLiteral("商品名のセットに失敗しました");
inline const QString DescriptionSetFailedShort = QStringLiteral("商品説明のセットに失敗しました");
inline const QString UploadCheckFailed = QStringLiteral("アップロード状況の確認に失敗しました。");
inline const QString AlreadyUploaded = QStringLiteral(
    "既にアップロードされています。\nアップロードされている画像の登録を解除し、\n必要であれば、Zerkonの[画像を１出品分戻す]ボタンをクリックして下さい。");
inline const QString PictureFilter = QStringLiteral("JPEG files (*.jpg *.JPG)");
inline const QString PictureDialogCaption = QStringLiteral("開く");
inline const QString NoMorePictures = QStringLiteral("これ以上画像がありません。");
// A workbook other than the picture folder's was opened: its folder is asked, the current one offered.
inline const QString WorkbookPictureCaption = QStringLiteral("この表計算の画像フォルダの画像を選んで下さい（今のフォルダ：%1）");
inline const QString NotEnoughPictures = QStringLiteral("画像が指定枚数に足りません。");
inline const QString UploadFailed = QStringLiteral("画像のアップロードに失敗しました。");
inline const QString TitleSetFailed = QStringLiteral("商品名のセットに失敗しました。");
inline const QString DescriptionSetFailed = QStringLiteral("商品説明のセットに失敗しました。");
inline const QString NoFolder = QStringLiteral("ディレクトリがセットされていません。");
inline const QString NoJpegFiles = QStringLiteral("JPEGファイルがありません。");
inline const QString SetPictureCount = QStringLiteral("画像数をセットしてください。");
inline const QString NoMorePicturesLeft = QStringLiteral("画像はこれ以上ありません。");
inline const QString FileListNotLoaded = QStringLiteral("FileListが読み込まれていません。");
inline const QString NoLink = QStringLiteral("LINKを取得できません。");
inline const QString NoInputCount = QStringLiteral("INPUTタグの数が取得できません。");
inline const QString PageDoesNotChange = QStringLiteral("ページが切り替わりません");
inline const QString SendErrorShort = QStringLiteral("送信エラーです");
inline const QString SendError = QStringLiteral("送信エラーです。");
inline const QString ChooserNotShown = QStringLiteral("ファイルアップロードのダイヤログボックスが表示されていません。");
inline const QString UploadTimeout = QStringLiteral("アップロードのタイムアウトです。");
inline const QString MovedBackOne = QStringLiteral("１出品分戻しました");
// Our own: the site's picture page did not show these pictures after the upload; they stay in the folder.
inline const QString PicturesRefused =
    QStringLiteral("サイトが次の画像を受け付けませんでした。画像はフォルダに残してあります。\n\n");
// Our own: pictures checked before anything is sent; one line per picture, then nothing is sent.
inline const QString PicturesNotSendable =
    QStringLiteral("次の画像はサイトに送れないため、アップロードしませんでした。画像は移動していません。\n\n");
inline const QString PictureOutsideFolder = QStringLiteral("画像フォルダの外にあるファイルへのリンクです");
inline const QString PictureNotAFile = QStringLiteral("通常のファイルではありません");
inline const QString PictureUnreadable = QStringLiteral("読み込めません");
inline const QString PictureEmpty = QStringLiteral("空のファイルです");
inline const QString PictureTooLarge = QStringLiteral("大きすぎます（1枚10MBまで）");
inline const QString PictureNotJpeg = QStringLiteral("JPEG画像ではありません");
inline const QString PictureBroken = QStringLiteral("JPEG画像として読めません（壊れています）");
inline const QString PictureTruncated = QStringLiteral("JPEG画像が途中で切れています（ファイルが欠けています）");
// %1×%2: the picture's width and height in pixels.
inline const QString PictureTooManyPixels = QStringLiteral("画素数が大きすぎます（%1×%2）");
// Our own: an item row without a title is no item; its pictures are not spent on it.
inline const QString NoTitleInRow = QStringLiteral("この行には商品名がありません。行を確認して下さい。");

// Our own: the listing records. A listing is either on the site and in its own row, or in neither.
inline const QString ListedWithoutRow = QStringLiteral(
    "出品しました（オークションID：%1）。\nこの出品にはアップロードした行がないため、表計算には書き込んでいません。");
// Our own: the ID is in the file, but a merged area over its cell keeps it from being shown.
inline const QString IdUnderMerge = QStringLiteral(
    "次の行のオークションIDは結合されたセルの下に書き込んだため、表計算では表示されません：%1\n"
    "ファイルには保存してあります。セルの結合を解除すると表示されます。");
inline const QString RowsNotSaved = QStringLiteral(
    "次の行のオークションIDはまだ表計算のファイルに保存されていません：%1\n"
    "Zerkonが記録を持っていて、同じ表計算を開いた時に書き込みます。");
inline const QString RowsWaitForWorkbook = QStringLiteral(
    "次の行のオークションIDは、その表計算を開いた時に書き込みます：%1");
inline const QString RowAndId = QStringLiteral("行%1（%2）");
// Our own: a listed ID goes only into the row that still holds its item. The ID, the row it was
// listed from, the title.
inline const QString IdRowNotFound = QStringLiteral(
    "オークションID %1 を表計算に書き込んでいません。出品した行%2 の商品名が「%3」ではなくなり、"
    "その商品名でIDのない行も見つかりません（行の挿入・削除・並べ替えなど）。\n"
    "Zerkonが記録を持っていて、その商品名の行が表計算にある時に書き込みます。");
inline const QString IdRowAmbiguous = QStringLiteral(
    "オークションID %1 を表計算に書き込んでいません。出品した行%2 の商品名が「%3」ではなくなり、"
    "その商品名でIDのない行が複数あるため、どの行か決められません。\n"
    "Zerkonが記録を持っていて、その商品名の行が一つになった時に書き込みます。");
// Our own: never one ID in two rows. The ID, the row that holds it, the row it would go into, the title.
inline const QString IdHeldByOtherRow = QStringLiteral(
    "オークションID %1 は行%2 にすでにあるため、行%3「%4」には書き込んでいません。どちらの行もそのままです。\n"
    "二つの行とサイトの出品を確かめて下さい。Zerkonは記録を持ち続け、行%2 からそのIDがなくなった時に書き込みます。");
inline const QString FoundOnSite = QStringLiteral("出品はサイトにありました（オークションID：%1）。行%2 に記録しました。");
inline const QString NotFoundOnSite = QStringLiteral("出品はサイトにありませんでした。\n\n");
inline const QString CouldNotCheck = QStringLiteral(
    "出品が完了したかどうか、サイトで確認できませんでした（行%1「%2」）。\n"
    "出品中の一覧を確認して下さい。確認できるまで次の出品には進めません。");
// Our own: a listing in doubt that the site does not settle alone. The row, its title, the time of
// its press, its start price and pictures, then one line per item it may be.
inline const QString WhichListingIntro = QStringLiteral(
    "行%1「%2」の出品が、サイトの出品中の商品のどれなのか決められません。\n"
    "この出品：出品ボタンを押した時刻 %3　開始価格 %4　画像 %5\n\n同じ商品名の出品中の商品：\n%6");
// An item it may be: title, auction ID, start price and closing as the selling list shows them.
inline const QString WhichListingItem = QStringLiteral("・%1（オークションID：%2）　開始価格 %3　終了日時 %4");
inline const QString WhichListingAsk = QStringLiteral("\n\n%1 を行%2 の出品として記録しますか？");
inline const QString NoneChosen = QStringLiteral(
    "どの出品も記録しませんでした。出品中の一覧を確認して、行%1 に手で記入して下さい。");
inline const QString ConfirmCaption = QStringLiteral("確認");
inline const QString RecoveredAtStart = QStringLiteral("前回の終了時に途中だった出品を確認しました。\n\n");
inline const QString NotListedAtStart = QStringLiteral("行%1「%2」は出品されていませんでした。画像はフォルダに戻しました。");
inline const QString ListedAtStart =
    QStringLiteral("行%1「%2」は出品されていました（オークションID：%3）。表計算を開いた時に書き込みます。");
inline const QString JournalUnwritable = QStringLiteral("出品の記録ファイルに書き込めません：%1");
// Our own: no record, no listing. The file, then why.
inline const QString JournalBlocksListing = QStringLiteral(
    "出品の記録ファイル（%1）に書き込めないため、出品しませんでした：%2\n記録できるようにしてから、もう一度押して下さい。");
// Our own: a listing in doubt stays so until the site can no longer make it.
inline const QString StillInDoubt = QStringLiteral(
    "行%1「%2」の出品はまだサイトで確かめられません。\n"
    "サイトが遅れて出品することがあるため、あと%3秒ほど待ってから、もう一度押して下さい。確かめられるまで次の出品には進めません。");
inline const QString StillInDoubtAtStart = QStringLiteral(
    "行%1「%2」の出品はまだサイトにありません。サイトが遅れて出品することがあるため、次の出品の前にもう一度確かめます。");
// Our own: a journal that was not read, why, and where it was put.
inline const QString JournalSetAside = QStringLiteral(
    "出品の記録ファイルを読まずに、別の名前で残しました。\nファイル：%1\n理由：%2\n残した名前：%3");
inline const QString JournalNotSetAside = QStringLiteral(
    "出品の記録ファイルを読みませんでしたが、別の名前に変えることもできませんでした（%3）。\n"
    "ファイル：%1\n理由：%2\nこのファイルを片付けるまで、出品の記録は書き込みません。");
inline const QString JournalIsLink = QStringLiteral("リンクです（リンク先には触れていません）");
inline const QString JournalNotAFile = QStringLiteral("通常のファイルではありません");
inline const QString JournalOtherOwner = QStringLiteral("別のユーザー %1 のファイルです");
inline const QString JournalWritableByOthers = QStringLiteral("自分以外のユーザーも書き込めるファイルです");
inline const QString JournalTooLarge = QStringLiteral("大きすぎます（%1 バイト、上限 %2 バイト）");
inline const QString JournalCannotRead = QStringLiteral("読めません（%1）");
inline const QString JournalUnparsable = QStringLiteral("出品の記録として読み取れません（%1）");

// Our own: "連続出品", the listing of every remaining row in one press, and its check beforehand.
namespace batch {
inline const QString Button = QStringLiteral("連続出品");
inline const QString AllRows = QStringLiteral("全件");
inline const QString CountSuffix = QStringLiteral("件");
inline const QString Stop = QStringLiteral("停止");
inline const QString NoRows = QStringLiteral("出品する行がありません。");
inline const QString ListingUnderWay = QStringLiteral(
    "アップロードした出品（行%1）が途中です。出品するか、[画像を１出品分戻す]で戻してから連続出品して下さい。");
inline const QString ReportCaption = QStringLiteral("連続出品の事前チェック");
// The end-of-run box of a run, apart from the check before it.
inline const QString SummaryCaption = QStringLiteral("連続出品の結果");
inline const QString ReportIntro = QStringLiteral("%1行のうち %2行を出品します。出品できない %3行は飛ばします。");
inline const QString ReportNothing = QStringLiteral("%1行のどれも出品できません。");
inline const QString ColumnRow = QStringLiteral("行");
inline const QString ColumnTitle = QStringLiteral("商品名");
inline const QString ColumnErrors = QStringLiteral("出品できない理由");
inline const QString ColumnWarnings = QStringLiteral("注意");
inline const QString ColumnStart = QStringLiteral("開始価格");
inline const QString ColumnBuy = QStringLiteral("即決価格");
inline const QString ColumnPriceSource = QStringLiteral("価格の出所");
inline const QString ColumnCategory = QStringLiteral("カテゴリ");
inline const QString ColumnClosing = QStringLiteral("終了日時");
inline const QString ColumnPictures = QStringLiteral("画像");
inline const QString ColumnVerdict = QStringLiteral("判定");
inline const QString PricesFromWorkbook = QStringLiteral("ブック");
inline const QString PricesFromPanel = QStringLiteral("パネル");
inline const QString PricesFromDefinitions = QStringLiteral("FieldsDefine.ini");
inline const QString VerdictLists = QStringLiteral("出品");
inline const QString VerdictSkipped = QStringLiteral("飛ばす");
inline const QString NoBuy = QStringLiteral("なし");
inline const QString NoPictures = QStringLiteral("なし");
// After the files a row's "画像" cell names.
inline const QString NamedMark = QStringLiteral("（画像列）");
// How the pictures go, under the report's table.
inline const QString PictureRule = QStringLiteral(
    "画像は行の順にフォルダの順で各行に割り当てます。出品しない行の画像はフォルダに残り、その行を直して出品する時に使います。"
    "「画像」列にファイル名（空白かカンマ区切り）がある行はその画像を使います。オークションIDのある行は画像を使いません。");
// One row of the report as text: row, title, start, buy, where the prices come from, category,
// closing, pictures, verdict.
inline const QString ReportLine = QStringLiteral("行%1「%2」 開始%3 即決%4（%5） カテゴリ%6 終了%7 画像 %8 → %9");
inline const QString Continue = QStringLiteral("続行");
inline const QString Abort = QStringLiteral("中止");
// What the site would refuse: the row is skipped.
inline const QString NoTitle = QStringLiteral("商品名がありません");
inline const QString TitleTooLong = QStringLiteral("商品名が全角30文字（半角60文字）を超えています（%1バイト）");
inline const QString TitleCharacters = QStringLiteral("商品名にサイトで使えない文字があります：%1");
inline const QString TitleBreaks = QStringLiteral("商品名に改行やタブがあります");
inline const QString NoStartPrice = QStringLiteral("開始価格がありません");
inline const QString StartNotWhole = QStringLiteral("開始価格が半角の整数ではありません：%1");
inline const QString StartNotPositive = QStringLiteral("開始価格が1円未満です：%1");
inline const QString StartTooHigh = QStringLiteral("開始価格が999,999,999円を超えています：%1");
inline const QString BuyNotWhole = QStringLiteral("即決価格が半角の整数ではありません：%1");
inline const QString BuyNotPositive = QStringLiteral("即決価格が1円未満です：%1");
inline const QString BuyTooHigh = QStringLiteral("即決価格が999,999,999円を超えています：%1");
inline const QString BuyBelowStart = QStringLiteral("即決価格（%1）が開始価格（%2）より低くなっています");
inline const QString PicturesRunOut = QStringLiteral("画像が足りません：この行で画像がなくなります（残り%1枚、%2枚必要）");
inline const QString NoPicturesLeft = QStringLiteral("画像が足りません（前の行で使い切ります）");
// A picture this row would take that cannot be sent: "name：reason", each.
inline const QString PictureUnsendable = QStringLiteral("送れない画像があります：%1");
inline const QString DescriptionTooLong = QStringLiteral("商品説明が9,999バイトを超えています（%1バイト）");
inline const QString DescriptionTooLongWithTemplate = QStringLiteral(
    "テンプレートに埋めた商品説明が9,999バイトを超えています（%1バイト、うちテンプレート%2バイト）");
inline const QString NamedPictureMissing = QStringLiteral("「画像」列の %1 がフォルダにありません");
inline const QString NamedPictureTwice = QStringLiteral("「画像」列の %1 は行%2 でも指定されています");
inline const QString AlreadyListed = QStringLiteral("出品済みです（オークションID：%1）。もう一度出品すると二重になります");
inline const QString NoCategory = QStringLiteral("カテゴリがありません（カテゴリー選択で選ぶか、「カテゴリ」列に書いて下さい）");
inline const QString UnknownCategory = QStringLiteral("カテゴリ %1 は category.txt にありません");
inline const QString NoClosing = QStringLiteral("終了日時が選ばれていません");
inline const QString ClosingGone = QStringLiteral("選んだ終了日時はもう選べません");
// Only worth a look: the row lists.
inline const QString TitleSpaces = QStringLiteral("商品名の前後の空白は送られません");
inline const QString DescriptionCharacters = QStringLiteral("商品説明にサイトで化ける文字があります：%1");
inline const QString NoDescription = QStringLiteral("商品説明が空です");
// The check's notes for the whole run.
inline const QString NoTemplateNote = QStringLiteral("画像フォルダに template.txt がないため、説明列は使われません");
inline const QString FolderShortNote =
    QStringLiteral("画像フォルダ %1 の画像が足りません（残り%2枚、%3行が画像なし）。画像を足すか、「再選択」で別のフォルダを選んで下さい");
inline const QString NoBuyPrice = QStringLiteral("即決価格なし");
inline const QString NamedPictureCount = QStringLiteral("「画像」列の%1枚で出品します（画像数は%2枚）");
// The run.
inline const QString Progress = QStringLiteral("連続出品 %1/%2件目　経過 %3　残り 約%4");
inline const QString ProgressFirst = QStringLiteral("連続出品 %1/%2件目　経過 %3");
inline const QString ResultListed = QStringLiteral("出品");
inline const QString ResultSkipped = QStringLiteral("スキップ");
inline const QString ResultFailed = QStringLiteral("失敗");
inline const QString ResultNotReached = QStringLiteral("未実行");
inline const QString LogName = QStringLiteral("%1出品ログ.csv");
inline const QString LogHeader = QStringLiteral("時刻,行,商品名,オークションID,リンク,結果,理由,ブック,実行開始");
inline const QString LogUnwritable = QStringLiteral("出品ログ（%1）に書き込めません：%2");
inline const QString DocumentsNotMade = QStringLiteral("書類のフォルダを作成できません");
inline const QString DocumentsReadOnly = QStringLiteral("書類のフォルダに書き込みできません");
inline const QString Summary = QStringLiteral("連続出品が終わりました。\n出品 %1件　スキップ %2件　失敗 %3件");
inline const QString SummaryStopped = QStringLiteral("連続出品を途中で止めました（%1）。\n出品 %2件　スキップ %3件　失敗 %4件");
inline const QString SummaryRow = QStringLiteral("行%1「%2」：%3");
inline const QString SummaryListed = QStringLiteral("出品した行：");
inline const QString SummarySkipped = QStringLiteral("スキップした行：");
inline const QString SummaryFailed = QStringLiteral("失敗した行：");
inline const QString SummaryLog = QStringLiteral("出品ログ：%1");
inline const QString OpenLog = QStringLiteral("出品ログを開く");
inline const QString CloseSummary = QStringLiteral("閉じる");
inline const QString LogNotOpened = QStringLiteral("出品ログ（%1）を開けませんでした。");
inline const QString StoppedByButton = QStringLiteral("停止ボタン。次は行%1 から続けます");
inline const QString StoppedByWindow = QStringLiteral("画面を閉じたため。次は行%1 から続けます");
inline const QString StoppedBySignal = QStringLiteral("終了のシグナルを受けたため。次は行%1 から続けます");
inline const QString StoppedBrowserLost = QStringLiteral("ブラウザが切断されました。行%1 で止め、次は行%2 から続けます");
inline const QString StoppedOfficeLost = QStringLiteral("表計算が切断されました。行%1 で止め、次は行%2 から続けます");
inline const QString StoppedAtRow = QStringLiteral("行%1 で止め、次は行%2 から続けます");
inline const QString StoppedRowChanged = QStringLiteral(
    "行%1 が事前チェックの後に変わったため（行の挿入・削除・並べ替えやセルの書き換え）、出品せずに止めました。"
    "次は行%1 から、もう一度チェックして続けます");
inline const QString StoppedInDoubt = QStringLiteral("行%1 の出品がサイトで確かめられません。確かめてから続けて下さい");
inline const QString StepFailed = QStringLiteral("%1に失敗しました");
inline const QString StepCategory = QStringLiteral("カテゴリーの出品ページ");
inline const QString StepUpload = QStringLiteral("アップロード");
inline const QString StepItemSet = QStringLiteral("項目セット");
inline const QString StepListing = QStringLiteral("出品");
inline const QString PicturesSpent = QStringLiteral("（送った画像 %1 は zzz.zzz にあります）");
inline const QString PicturesBack = QStringLiteral("（画像 %1 はフォルダに戻しました）");
} // namespace batch

// The workbook's column that keeps the ID a relisted item had before.
inline const QString PreviousIdHeader = QStringLiteral("旧オークションID");

} // namespace zk::listing::texts
