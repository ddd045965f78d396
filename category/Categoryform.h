#pragma once
// TCategory, the non-modal "カテゴリー選択" dialog: the category tree of category.txt, the recent
// categories of ctg_history.txt, the link nodes of CategoryLink.ini and the search in the tree.
//
// The main window creates it once with the data folder, runs LoadTree, and on each use shows it
// and runs LoadHistory, then polls ResultState: 1 means ResultCode holds the chosen code, 2 that
// the user cancelled. The main window hides the dialog and sets ResultState back to 0; the
// dialog is never destroyed between uses.
#include "category/CategoryHistory.h"
#include "category/CategoryLinks.h"
#include "category/CategoryTree.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

class QTreeWidgetItem;

namespace Ui {
class TCategory;
}

class TCategory : public QDialog {
    Q_OBJECT

public:
    enum : int { ResultNone = 0, ResultChosen = 1, ResultCancelled = 2 };

    explicit TCategory(const QString& dataFolder, QWidget* parent = nullptr);
    ~TCategory() override;

    // Loads category.txt into the tree (once, right after creation).
    void LoadTree();
    // Loads ctg_history.txt into the history list (every time the dialog is shown).
    void LoadHistory();

    void OKClick();
    void CancelClick();
    void TreeView1DblClick();
    // Take Qt key codes: Enter/Return in the search box starts a search, F3 in the tree
    // continues it.
    void Edit1KeyDown(int key);
    void TreeView1KeyDown(int key);

    // Polled by the main window.
    int ResultState = ResultNone;
    QString ResultCode;

    // The tree as loaded, and the tree item of a node by its absolute index (null when there
    // is no such node).
    const zk::category::CategoryTree& tree() const { return Tree; }
    QTreeWidgetItem* nodeItem(int index) const;
    // Absolute index of the selected node, -1 when none is selected.
    int selectedNode() const;
    // Selects the node, opening its ancestors and scrolling it into view.
    void selectNode(int index);
    const zk::category::CategoryHistory& history() const { return HistoryList; }
    bool searchActive() const { return SearchActive; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void fillTreeView();
    void fillHistoryBox(int selectedRow = -1);
    void saveHistory();
    bool readCategoryFile(QByteArray* data);
    void runSearch(const QByteArray& data, qsizetype pos);
    bool searchStep(const QByteArray& data, qsizetype pos);

    std::unique_ptr<Ui::TCategory> ui;
    zk::category::CategoryTree Tree;
    std::vector<QTreeWidgetItem*> TreeItems;

    zk::category::CategoryHistory HistoryList;
    QString CategoryPath, LinkPath, HistoryPath;
    QString ExpandedCategoryPath;
    zk::category::CategoryLinks LinkList;

    qsizetype SearchTopPos = -1;
    qsizetype SearchNextPos = -1;
    bool SearchActive = false;
    int SearchTopIndex = -1;
    int SearchStartIndex = -1;
    int SearchEndIndex = -1;
};
