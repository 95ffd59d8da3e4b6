#pragma once

#include <cstdint>
#include <string>

#include "io/CDataColumn.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CEditable.h"
#include "toolkit/CRowChanges.h"
#include "toolkit/CTextEditRing.h"
#include "toolkit/CWindow.h"

class CList;
class CString;

// A column of text rows shown as a striped grid; the current row is edited in an
// embedded CEditBox moved onto it. Columns (and a scroller) linked by `nextFocus` form
// a ring that moves, grows and shrinks together. A column is also a data column: the
// data files and the fits read and fill it directly.
class CTextEdit : public CWindow,
                  public CEditable,
                  public CTextEditRing,
                  public CDataColumn,
                  public CEditBox::Column {
public:
    explicit CTextEdit(CGApplication* app);
    ~CTextEdit() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    void SetCurrentRow(uint32_t row) override;
    void DeleteRow(uint32_t row) override;
    uint32_t GetCurrentRow() override { return currentRow; }
    uint32_t GetLineCount() override;
    void SetEditable(uint32_t flag) override;
    void FollowWalk(Walk walk, uint32_t row) override;
    void ShiftView(int32_t rows) override;

    // Row `row`: for the current row a new string with the editor's text, confirmed or
    // not (count 0); otherwise the stored row; null past the end.
    CString* GetLine(uint32_t row);
    void AppendLine(CString* text);
    void Clear();
    CList* GetLines() const;
    CEditBox* GetEditor() const;
    // Marks a line (a cell at fault) on a light red ground, or none with -1. The mark
    // goes when the line's text changes, the line is deleted or the column emptied.
    void SetMarkedLine(int32_t line);
    int32_t GetMarkedLine();
    // Fills rows downwards and cells along the ring from the current row: lines end in
    // a line feed (or CR LF), cells in a tab. Rows are added to the whole ring as
    // Enter adds them; the current row then moves to the last row filled.
    void PasteBlock(const char* text, uint32_t size) override;
    bool FitsNumbers() const override { return fitsNumbers != 0; }
    void HistoryKey(bool forth) override;

    // The owner told of every change to the rows (`owner`, as `listener`).
    void SetRowChanges(CObject* owner, CRowChanges* listener)
    {
        changesObject = owner;
        changes = listener;
    }
    // Puts `rows` in place of rows [row, row + count), without report: the owner's
    // history going back and forth. The column keeps at least one row.
    // The editor's text becomes the current row's (reported when it differs), the
    // editor staying as it is.
    void ConfirmCell() { StoreEditor(); }
    void ReplaceRows(uint32_t row, uint32_t count, const std::vector<std::string>& rows);
    // Takes `list` (strings, at least one) as its rows, held rather than copied; the
    // editor shows its current row. Reported as a whole replacement when `report`.
    void SetLines(CList* list, bool report = true);

    uint32_t LineCount() override { return GetLineCount(); }
    CString* LineAt(uint32_t i) override;
    // Fills a column just emptied (a load): not reported, as the list it adds to was
    // reported whole when it was emptied.
    void AddLine(const char* text, uint32_t size) override;
    void MakeEmpty() override { Clear(); }
    void DeleteFirstLine() override;

    Variable editor;
    Variable lines;
    uint32_t currentRow = 0;
    uint32_t firstRow = 0;
    int32_t drawnRow = -1;
    int32_t rowHeight = 0;
    int32_t digitWidth = 0;
    uint32_t direction = 1;
    uint32_t drawStyle = 0;
    int32_t markedLine = -1;
    std::string markedText;
    // Numbers too wide for the column are drawn shortened, their size always shown;
    // off for columns of names.
    uint32_t fitsNumbers = 1;

private:
    void HandleOwn(CEvent event);
    void HandleFromChild(CEvent event);
    void OnCreate();
    void OnClick(CEvent event);
    void OnEnter();
    void GoOnTabRun();
    CTextEdit* TabRunStart();
    void EndTabRun();
    void StoreEditor();
    void LoadEditor();
    void EnsureRow(uint32_t row);
    void SetRowText(uint32_t row, const char* text, uint32_t size);
    CString* RowAt(uint32_t row) const;
    std::string RowText(uint32_t row) const;
    std::vector<std::string> RowTexts(uint32_t row, uint32_t end) const;
    bool Reporting() const;
    void Report(uint32_t row, std::vector<std::string>&& before, std::vector<std::string>&& after);
    bool DropChangedMark();

    CObject* changesObject = nullptr;
    CRowChanges* changes = nullptr;
    // Set while the column changes rows it reports as one change of its own.
    bool quiet = false;

    // Where the run of Tabs along the current row started: Enter goes back to that
    // column on the next row, as in a spreadsheet. Kept by every column of the ring.
    CTextEdit* tabRunStart = nullptr;
    uint32_t tabRunRow = 0;

    void KeepCurrentVisible(int visibleRows);
    void DrawGround(int visibleRows);
    void DrawRowTexts(int visibleRows);
    void DrawMarkers(int visibleRows);
    void DrawMarkedLine(int visibleRows);
};
