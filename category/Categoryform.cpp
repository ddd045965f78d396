#include "category/Categoryform.h"

#include "ui_Categoryform.h"

#include "category/CategoryLine.h"
#include "category/CategorySearch.h"
#include "category/Texts.h"
#include "platform/Cp932.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTreeWidgetItem>

using namespace zk::category;
using zk::Answer;
using zk::Buttons;
using zk::Icon;
using zk::MessageService;

namespace {

const QString kCategoryFile = QStringLiteral("category.txt");
const QString kHistoryFile = QStringLiteral("ctg_history.txt");
const QString kLinkFile = QStringLiteral("CategoryLink.ini");

// A code is appended to the listing address. Blanks around it are no part of it: the browser
// would drop trailing ones and send leading ones as %20, so the site would see another code.
// A code of blanks only names no category and gets the no-code message at once, instead of a
// listing page without a category that the confirm step gives up on later.
QString usableCode(const QByteArray& code) { return zk::cp932::toUnicode(code.trimmed()); }

} // namespace

TCategory::TCategory(const QString& dataFolder, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TCategory>()) {
    ui->setupUi(this);
    // A dialog frame with minimise and maximise buttons and no close button; closing it through
    // the window system anyway counts as Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    ui->Splitter1->setStretchFactor(0, 1);
    ui->Splitter1->setSizes({330, 110});

    const QDir folder(dataFolder);
    CategoryPath = folder.filePath(kCategoryFile);
    LinkPath = folder.filePath(kLinkFile);
    HistoryPath = folder.filePath(kHistoryFile);

    ResultState = ResultNone;
    ui->OK->setEnabled(false);
    ui->Cancel->setEnabled(false);
    ui->TreeLoadingPanel->hide();
    ui->HistoryLoadingPanel->hide();
    LinkList.load(LinkPath);

    connect(ui->OK, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(ui->Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(ui->TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });
    connect(ui->HistoryListBox, &QListWidget::itemDoubleClicked, this, [this] { OKClick(); });
    ui->Edit1->installEventFilter(this);
    ui->TreeView1->installEventFilter(this);
}

TCategory::~TCategory() = default;

// ---- Loading ----

bool TCategory::readCategoryFile(QByteArray* data) {
    const QString path = ExpandedCategoryPath.isEmpty() ? CategoryPath : ExpandedCategoryPath;
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    *data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

void TCategory::fillTreeView() {
    QTreeWidget* view = ui->TreeView1;
    view->setUpdatesEnabled(false);
    view->clear();
    TreeItems.clear();
    TreeItems.reserve(size_t(Tree.size()));
    // Items are built detached and handed to the view at once: adding tens of thousands of
    // rows one by one to a shown view is far slower.
    QList<QTreeWidgetItem*> topLevel;
    for (int i = 0; i < Tree.size(); ++i) {
        const CategoryNode& node = Tree.node(i);
        auto* item = new QTreeWidgetItem;
        item->setText(0, zk::cp932::toUnicode(node.text));
        item->setData(0, Qt::UserRole, i);
        if (node.parent < 0) topLevel << item;
        else TreeItems[size_t(node.parent)]->addChild(item);
        TreeItems.push_back(item);
    }
    view->addTopLevelItems(topLevel);
    view->setUpdatesEnabled(true);
}

void TCategory::LoadTree() {
    ui->TreeLoadingPanel->show();
    ui->TreeLoadingPanel->raise();
    QApplication::processEvents();

    ExpandedCategoryPath = QFileInfo(CategoryPath).absoluteFilePath();
    SearchActive = false;
    if (QFileInfo::exists(CategoryPath)) {
        QByteArray data;
        bool loaded = readCategoryFile(&data);
        // A level jump keeps the nodes before it, but the tree counts as not loaded.
        if (loaded) loaded = Tree.parse(data);
        else Tree.clear();
        fillTreeView();
        ui->Cancel->setEnabled(true);
        if (loaded) ui->OK->setEnabled(true);
    } else {
        ui->Cancel->setEnabled(true);
    }

    ui->TreeLoadingPanel->hide();
    QApplication::processEvents();
}

void TCategory::fillHistoryBox(int selectedRow) {
    // Rows are rewritten in place rather than rebuilt: OK runs from a double click on a row,
    // and that row's item must outlive the click's handling.
    QListWidget* box = ui->HistoryListBox;
    const int count = HistoryList.size();
    while (box->count() > count) delete box->takeItem(box->count() - 1);
    for (int i = 0; i < count; ++i) {
        const QString text = zk::cp932::toUnicode(HistoryList.at(i));
        if (i < box->count()) box->item(i)->setText(text);
        else box->addItem(text);
    }
    box->clearSelection();
    box->setCurrentItem(nullptr);
    if (selectedRow >= 0 && selectedRow < box->count()) box->setCurrentRow(selectedRow);
}

void TCategory::LoadHistory() {
    ui->HistoryLoadingPanel->show();
    ui->HistoryLoadingPanel->raise();
    QApplication::processEvents();

    // The list always shows what HistoryList holds, so that OK never picks an entry that is
    // no longer in the file.
    const CategoryHistory::LoadResult result = HistoryList.load(HistoryPath);
    fillHistoryBox();
    ui->Cancel->setEnabled(true);
    if (result == CategoryHistory::LoadResult::Loaded) ui->OK->setEnabled(true);

    ui->HistoryLoadingPanel->hide();
    QApplication::processEvents();
}

void TCategory::saveHistory() {
    if (!HistoryList.save(HistoryPath))
        MessageService::instance().show(texts::HistoryNotSaved + QDir::toNativeSeparators(HistoryPath),
                                        texts::ErrorCaption, Icon::Exclamation);
}

// ---- Choosing ----

QTreeWidgetItem* TCategory::nodeItem(int index) const {
    return index >= 0 && index < int(TreeItems.size()) ? TreeItems[size_t(index)] : nullptr;
}

int TCategory::selectedNode() const {
    const QList<QTreeWidgetItem*> selected = ui->TreeView1->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->data(0, Qt::UserRole).toInt();
}

void TCategory::selectNode(int index) {
    QTreeWidgetItem* item = nodeItem(index);
    if (!item) return;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
    ui->TreeView1->setCurrentItem(item);
    ui->TreeView1->scrollToItem(item);
}

void TCategory::OKClick() {
    // A selected history entry wins over the tree.
    const QList<QListWidgetItem*> picked = ui->HistoryListBox->selectedItems();
    const int row = picked.isEmpty() ? -1 : ui->HistoryListBox->row(picked.first());
    if (row >= 0 && row < HistoryList.size()) {
        const QByteArray entry = HistoryList.at(row);
        if (CategoryHistory::hasCode(entry)) {
            HistoryList.moveToTop(row);
            fillHistoryBox(0);
            saveHistory();
            const QString code = usableCode(CategoryHistory::codeOf(entry));
            if (!code.isEmpty()) {
                ResultCode = code;
                ResultState = ResultChosen;
                return;
            }
        } else {
            MessageService::instance().show(texts::NoCode);
        }
    }

    const int index = selectedNode();
    if (index < 0) {
        MessageService::instance().show(texts::SelectPlease);
        return;
    }
    const QByteArray& text = Tree.node(index).text;
    const QString code = usableCode(CategoryTree::codeOf(text));
    if (code.isEmpty()) {
        MessageService::instance().show(texts::NoCode);
        return;
    }
    HistoryList.add(Tree.historyEntry(index));
    fillHistoryBox();
    saveHistory();
    ResultCode = code;
    ResultState = ResultChosen;
}

void TCategory::CancelClick() { ResultState = ResultCancelled; }

void TCategory::reject() {
    // Escape is the Cancel button; the main window hides the dialog when it sees the result.
    CancelClick();
}

void TCategory::closeEvent(QCloseEvent* event) {
    CancelClick();
    event->accept();
}

void TCategory::TreeView1DblClick() {
    const int index = selectedNode();
    if (index < 0) return;
    if (CategoryTree::hasCode(Tree.node(index).text)) {
        OKClick();
        return;
    }
    // A node with children only opens or closes, as the tree does by itself.
    if (Tree.hasChildren(index)) return;
    const int target = LinkList.targetOf(index);
    if (Tree.contains(target)) selectNode(target);
}

// ---- Search ----

void TCategory::Edit1KeyDown(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    if (ui->Edit1->text().isEmpty()) return;
    const int index = selectedNode();
    if (index < 0) {
        MessageService::instance().show(texts::SelectSearchCategory, texts::InformationCaption, Icon::Information);
        return;
    }
    const int top = Tree.topOf(index);
    selectNode(top);
    ui->TreeView1->setFocus();

    QByteArray data;
    if (!readCategoryFile(&data)) {
        MessageService::instance().show(texts::SearchFailed, texts::InformationCaption, Icon::Exclamation);
        return;
    }
    SearchTopIndex = SearchStartIndex = top;
    SearchTopPos = skipLines(data, 0, top);
    SearchEndIndex = Tree.lastInside(top);
    runSearch(data, SearchTopPos);
}

void TCategory::TreeView1KeyDown(int key) {
    if (key != Qt::Key_F3 || !SearchActive || ui->Edit1->text().isEmpty()) return;
    QByteArray data;
    if (!readCategoryFile(&data)) {
        MessageService::instance().show(texts::SearchFailed, texts::InformationCaption, Icon::Exclamation);
        return;
    }
    // Continue with the line after the one found last, where SearchNextPos points; the
    // selection may have been moved by hand since, and must not shift the line numbers.
    SearchStartIndex += 1;
    runSearch(data, SearchNextPos);
}

void TCategory::runSearch(const QByteArray& data, qsizetype pos) {
    while (!searchStep(data, pos)) {
        const Answer again = MessageService::instance().show(texts::NotFoundSearchAgain, texts::ConfirmCaption,
                                                             Icon::Information, Buttons::YesNo);
        if (again != Answer::Yes) {
            SearchActive = false;
            return;
        }
        pos = SearchTopPos;
        SearchStartIndex = SearchTopIndex;
    }
}

bool TCategory::searchStep(const QByteArray& data, qsizetype pos) {
    const QByteArray text = zk::cp932::fromUnicode(ui->Edit1->text());
    const std::optional<SearchHit> hit = searchLines(data, pos, SearchEndIndex - SearchStartIndex + 1, text);
    if (!hit) return false;
    SearchNextPos = hit->nextPos;
    SearchStartIndex += hit->line;
    selectNode(SearchStartIndex);
    ui->TreeView1->setFocus();
    SearchActive = true;
    return true;
}

bool TCategory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == ui->Edit1 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            Edit1KeyDown(key);
            return true;
        }
        if (watched == ui->TreeView1 && key == Qt::Key_F3) {
            TreeView1KeyDown(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
