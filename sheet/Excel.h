#pragma once
// TExcel: the only place that speaks to the spreadsheet application. It holds the automation
// references, opens, creates, saves and closes workbooks, reads and writes cells and switches a
// few application settings. Operations return 0 (or a value) on success and -1 on a caught
// automation error, which is kept in LastError and LastErrorText for the caller to report.
#include "platform/AutomationError.h"
#include "platform/calc/Application.h"

#include <QRect>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

namespace zk {
class DesktopWindow;
}

namespace zk::sheet {

class TExcel {
public:
    TExcel();
    ~TExcel();
    TExcel(const TExcel&) = delete;
    TExcel& operator=(const TExcel&) = delete;

    int Startup();
    int OpenFile(const QString& fileName);
    int OpenNewBook();
    int OpenNewSheets();
    void SetSheetNo(int sheetNumber); // unguarded: an AutomationError reaches the caller
    bool SetActiveSheet();
    int WriteToCell(int row, int column, const QString& text);
    // 1 when the cell lies under a merged area (what is written there is not shown), 0 when
    // not, -1 on failure.
    int CellHiddenByMerge(int row, int column);
    int WriteToHyperlinkCell(int row, int column, const QString& address);
    // Links from (row, column) down, one empty cell per address, each showing its address.
    int WriteHyperlinks(int row, int column, const QStringList& addresses);
    // Rows of cells from (row, column) in one call: numbers as numbers, texts kept as texts,
    // invalid values as empty cells.
    int WriteRows(int row, int column, const QList<QVariantList>& rows);
    // A new sheet of that name after the last one, which becomes Sheet.
    int AddSheet(const QString& name);
    // Sheet becomes the sheet of that name; -1 when there is none.
    int SetSheetByName(const QString& name);
    // The sheet Sheet stands for, empty when there is none.
    QString SheetName();
    // A number format on a block of Sheet's cells.
    int SetRangeFormat(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString& format);
    // A column chart made by the office over a block of Sheet (first row the series' names, first
    // column the categories), placed at `area` in 1/100 mm.
    int AddColumnChart(const QString& name, int firstRow, int firstColumn, int lastRow, int lastColumn,
                       const QRect& area);
    // The cell's value, or the empty text on any failure.
    QVariant ReadCell(int row, int column);
    // The text the office shows in the cell (its number format applied), or the empty text on
    // any failure.
    QString ReadShownText(int row, int column);
    // A block of the sheet's cells, row by row, in a few calls to the office: `texts` as ToText
    // gives each cell's value and, when asked, `shown` as ReadShownText gives each cell. 0, or -1
    // with the error recorded (and both empty).
    int ReadTexts(int firstRow, int firstColumn, int lastRow, int lastColumn, QList<QStringList>& texts,
                  QList<QStringList>* shown = nullptr);
    int SetBackgroundColor(int row, int colorIndex);
    int Quit();
    // Ends the spreadsheet without saving and releases the references, for when a quit cannot
    // save because no workbook is open.
    void Abandon();
    // Saves the workbook if it changed since it was last saved or opened: 0 when the office
    // answered and the file holds the workbook, -1 with the error recorded.
    int LiveCheck();
    // Saves the workbook where it is: 0, or -1 with the error recorded.
    int Save();
    // After a failed LiveCheck: releases the references and removes the lock file that the lost
    // office of ours left beside the workbook.
    void ForgetLostOffice();
    // Saves the workbook if it changed, then closes it.
    int CloseBook();
    int SaveAs(const QString& fileName);
    int GetRowNumber();
    int GetColNumber();
    int SetCellProperty(int row, int column, const QString& property, const QString& value);
    int SetColProperty(int column, const QString& property, const QString& format);
    int SetEditInCellProperty(bool on);
    int SetWindowStateNormal();
    int GetWindowState();
    // The window's title, at most 63 characters; returns their number.
    int GetTitlebarText(QString& title) const;

    // A cell value as text: empty for an empty cell, a number as its decimal text.
    static QString ToText(const QVariant& value);

    // How the office is started (tests and the unattended demo choose headless).
    static void setOfficeOptions(const calc::Office::Options& options);

    // The automation references, empty until set (see the operations).
    std::shared_ptr<calc::Application> ExcelApp;
    std::shared_ptr<calc::Object> Book; // the Workbooks collection after Startup, then a workbook
    std::shared_ptr<calc::Application> AppRef;
    std::shared_ptr<calc::Sheets> Sheets;
    std::shared_ptr<calc::Worksheet> Sheet;
    std::shared_ptr<DesktopWindow> ExcelWindow;
    int Started = 0;
    QString BookPath; // the workbook last opened or saved under a new name
    uint32_t LastError = 0;
    QString LastErrorText;

private:
    void clearError();
    void record(const AutomationError& e);
    // Runs the calls of a recording operation: 0, or -1 with the error recorded.
    template <class F>
    int guarded(F&& calls);
    calc::Workbook& workbook();
};

} // namespace zk::sheet
