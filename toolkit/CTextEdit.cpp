#include "toolkit/CTextEdit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/CList.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "io/DataCell.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CGApplication.h"
#include "toolkit/Notice.h"

using namespace platform;

namespace {
constexpr uint32_t EditorColour[] = {255, 236, 192};

// A pasted cell without the bytes a data cell cannot hold.
std::string CellOf(const char* from, const char* to)
{
    std::string cell;
    for (const char* p = from; p < to; p++)
        if (IsDataCellByte(*p) && *p != '\r')
            cell += *p;
    return cell;
}

std::string Text(const CString* s) { return s && s->GetLength() ? std::string(s->GetBuffer(), s->GetLength()) : ""; }

CList* NewRowList(CApplication* app)
{
    auto list = new CList(app);
    list->Create();
    auto row = new CString(app);
    row->SetText("", 0);
    list->Add(row);
    return list;
}
}  // namespace

CTextEdit::CTextEdit(CGApplication* app) : CWindow(app) { className = "CTextEdit"; }

// The editor goes with the column's fields and tells its parent as it goes: a column
// being destroyed no longer listens.
CTextEdit::~CTextEdit()
{
    LeaveRegistry();
    alive = 0;
}

void CTextEdit::HandleEvent(CEvent event)
{
    if (!alive)
        return;
    if (event.source == application)
        HandleOwn(event);
    else
        HandleFromChild(event);
}

void CTextEdit::HandleOwn(CEvent event)
{
    switch (event.type) {
    case EV_CREATE:
        CWindow::HandleEvent(event);
        OnCreate();
        return;
    case EV_SHOW:
        CWindow::HandleEvent(event);
        Draw();
        if (CEditBox* box = GetEditor())
            box->Show();
        return;
    case EV_RESIZE:
        CWindow::HandleEvent(event);
        Draw();
        return;
    case EV_CLICK:
        OnClick(event);
        break;
    case EV_WHEEL:
        ScrollRing(this, event.value);
        break;
    case EV_FOCUS:
        if (CEditBox* box = GetEditor())
            box->Activate();
        break;
    default:
        break;
    }
    CWindow::HandleEvent(event);
}

// Keys come from the embedded editor, which passes every key up.
void CTextEdit::HandleFromChild(CEvent event)
{
    CEditBox* box = GetEditor();
    if (event.type == EV_FOCUS && event.source != box && box)
        box->Activate();
    if (event.type == EV_CLICK && event.source == box)
        EndTabRun();
    if (event.type == EV_WHEEL && event.source == box)
        ScrollRing(this, event.value);
    if (event.type == EV_KEYDOWN && event.source == box) {
        switch (uint32_t(event.value)) {
        case VK_TAB:
            GoOnTabRun();
            FocusNext(1);
            break;
        case VK_RETURN:
            OnEnter();
            break;
        case VK_ESCAPE:
            if (editable)
                WalkRing(this, DeleteRowWalk, currentRow);
            break;
        case VK_UP:
            if (currentRow == 0)
                direction = 0;
            else
                WalkRing(this, CurrentRowWalk, currentRow - 1);
            break;
        case VK_DOWN:
            if (currentRow + 1 < GetLineCount()) {
                direction = 1;
                WalkRing(this, CurrentRowWalk, currentRow + 1);
            }
            break;
        default:
            break;
        }
    }
    // Typing into the marked line takes its mark away. Only keys change text; other
    // events of the editor also come while it moves to another row, its text not yet
    // that row's.
    bool typed = event.type == EV_KEYDOWN || event.type == EV_CHAR;
    if (typed && event.source == box && DropChangedMark())
        Draw();
    CWindow::HandleEvent(event);
}

void CTextEdit::OnCreate()
{
    CCanvas* canvas = GetCanvas();
    CFont* font = canvas ? canvas->GetFont() : nullptr;
    rowHeight = (font ? font->TextHeight("_|") : 12) + 6;
    digitWidth = ((font ? font->TextWidth("0123456789") : 0) + 9) / 10;
    lines = NewRowList(application);
    currentRow = firstRow = 0;
    direction = 1;
    drawnRow = -1;
    drawStyle = 0;
    auto box = new CEditBox(GetApplication());
    editor = box;
    box->Create(0, 0, width, rowHeight, this, NoTitle, EditorColour[0], EditorColour[1], EditorColour[2]);
    if (box->GetCanvas() && font) {
        box->GetCanvas()->font = font;
        box->editFont = font;
    }
    box->SetColumn(this, this);
    editable = 1;
    box->SetEditable(1);
}

void CTextEdit::OnClick(CEvent event)
{
    EndTabRun();
    uint32_t row = firstRow + uint32_t(event.y) / uint32_t(std::max(rowHeight, 1));
    if (row < GetLineCount())
        WalkRing(this, CurrentRowWalk, row);
    if (CEditBox* box = GetEditor())
        box->Activate();
}

// Enter moves by `direction`; after Up at the first row that is 0 once, so only this
// Enter stays on the row. After Tabs along the row it also goes back to the column
// where they started.
void CTextEdit::OnEnter()
{
    if (!editable)
        return;
    uint32_t row = currentRow + direction;
    direction = 1;
    CTextEdit* back = TabRunStart();
    EndTabRun();
    WalkRing(this, RowHookWalk, row);
    WalkRing(this, CurrentRowWalk, row);
    if (back && back != this && GetApplication()->IsAlive(back))
        if (CEditBox* box = back->GetEditor())
            box->Activate();
}

// Tab along the current row: the run goes on from where it started, or starts here.
void CTextEdit::GoOnTabRun()
{
    CTextEdit* start = TabRunStart();
    if (!start)
        start = this;
    for (CTextEditRing* member : Members(this))
        if (auto* column = dynamic_cast<CTextEdit*>(member)) {
            column->tabRunStart = start;
            column->tabRunRow = currentRow;
        }
}

// The start of a run of Tabs along the current row, if one is going on.
CTextEdit* CTextEdit::TabRunStart()
{
    if (!tabRunStart || tabRunRow != currentRow)
        return nullptr;
    for (CTextEditRing* member : Members(this))
        if (member == static_cast<CTextEditRing*>(tabRunStart))
            return tabRunStart;
    return nullptr;
}

// A click, another row or a deleted row ends the run.
void CTextEdit::EndTabRun()
{
    for (CTextEditRing* member : Members(this))
        if (auto* column = dynamic_cast<CTextEdit*>(member))
            column->tabRunStart = nullptr;
}

void CTextEdit::FollowWalk(Walk walk, uint32_t row)
{
    switch (walk) {
    case CurrentRowWalk:
        SetCurrentRow(row);
        break;
    case RowHookWalk:
        RowHook(row);
        break;
    case DeleteRowWalk:
        DeleteRow(row);
        break;
    }
}

// The view moves as far as the rows go: the last view still ends with the last row.
void CTextEdit::ShiftView(int32_t rows)
{
    int64_t visible = rowHeight > 0 ? std::max(height / rowHeight, 1) : 1;
    int64_t lastFirst = std::max<int64_t>(int64_t(GetLineCount()) - visible, 0);
    firstRow = uint32_t(std::clamp<int64_t>(int64_t(firstRow) + rows, 0, std::max<int64_t>(lastFirst, 0)));
}

void CTextEdit::SetCurrentRow(uint32_t row)
{
    if (row != currentRow)
        tabRunStart = nullptr;
    EnsureRow(row);
    StoreEditor();
    currentRow = row;
    Draw();
    LoadEditor();
}

void CTextEdit::DeleteRow(uint32_t row)
{
    CList* list = GetLines();
    if (!list || row >= list->GetCount() || list->GetCount() < 2)
        return;
    if (int64_t(row) == markedLine)
        markedLine = -1;
    else if (int64_t(row) < markedLine)
        markedLine--;
    tabRunStart = nullptr;
    // The row being edited goes with its text as typed, confirmed or not.
    std::string gone = row == currentRow && GetEditor() ? Text(GetEditor()->GetText()) : RowText(row);
    if (row < currentRow) {
        // The row being edited only moves up: its unconfirmed text stays.
        StoreEditor();
        list->RemoveAt(row);
        currentRow--;
    } else {
        list->RemoveAt(row);
        if (row == currentRow) {
            currentRow = std::min(currentRow, list->GetCount() - 1);
            LoadEditor();
        }
    }
    Report(row, {gone}, {});
    Draw();
}

uint32_t CTextEdit::GetLineCount()
{
    CList* list = GetLines();
    return list ? list->GetCount() : 0;
}

void CTextEdit::SetEditable(uint32_t flag)
{
    editable = flag;
    if (CEditBox* box = GetEditor())
        box->SetEditable(flag);
}

CString* CTextEdit::GetLine(uint32_t row)
{
    if (row != currentRow)
        return RowAt(row);
    CEditBox* box = GetEditor();
    CString* text = box ? box->GetText() : RowAt(row);
    auto copy = new CString(application);
    copy->SetText(text ? text->GetBuffer() : "", text ? text->GetLength() : 0);
    return copy;
}

void CTextEdit::AppendLine(CString* text)
{
    Variable hold;
    hold = text;
    if (text)
        AddLine(text->GetBuffer(), text->GetLength());
    else
        AddLine("", 0);
}

// The rows go whole to the owner's history: a million of them are not copied.
void CTextEdit::Clear()
{
    currentRow = firstRow = 0;
    direction = 1;
    drawnRow = -1;
    SetLines(NewRowList(application));
}

void CTextEdit::SetLines(CList* list, bool report)
{
    if (!list || list->GetCount() == 0)
        return;
    Variable before = lines;
    lines = list;
    markedLine = -1;
    tabRunStart = nullptr;
    currentRow = std::min(currentRow, list->GetCount() - 1);
    Draw();
    LoadEditor();
    if (report && !quiet && changes && GetApplication()->IsAlive(changesObject))
        changes->ListChanged(this, before.As<CList>(), list);
}

void CTextEdit::ReplaceRows(uint32_t row, uint32_t count, const std::vector<std::string>& rows)
{
    CList* list = GetLines();
    if (!list)
        return;
    row = std::min(row, list->GetCount());
    count = std::min(count, list->GetCount() - row);
    auto common = uint32_t(std::min<size_t>(count, rows.size()));
    for (uint32_t i = 0; i < common; i++)
        RowAt(row + i)->SetText(rows[i].data(), uint32_t(rows[i].size()));
    // From the last row back: only the rows below the range move, so taking back a
    // pasted block of 100,000 rows does not move the block 100,000 times.
    for (uint32_t i = count; i > common; i--)
        list->RemoveAt(row + i - 1);
    for (size_t i = common; i < rows.size(); i++) {
        auto line = new CString(application);
        line->SetText(rows[i].data(), uint32_t(rows[i].size()));
        list->InsertAt(uint32_t(row + i), line);
    }
    if (list->GetCount() == 0)
        AddLine("", 0);
    markedLine = -1;
    tabRunStart = nullptr;
    currentRow = std::min(currentRow, list->GetCount() - 1);
    Draw();
    LoadEditor();
}

void CTextEdit::HistoryKey(bool forth)
{
    if (changes && GetApplication()->IsAlive(changesObject))
        changes->HistoryKey(forth);
}

CList* CTextEdit::GetLines() const { return lines.As<CList>(); }

CEditBox* CTextEdit::GetEditor() const { return editor.As<CEditBox>(); }

// The row being edited is handed out with its unconfirmed text.
CString* CTextEdit::LineAt(uint32_t i)
{
    CEditBox* box = GetEditor();
    if (i == currentRow && box && box->GetText())
        return box->GetText();
    return RowAt(i);
}

// Rows are plain strings set whole, so each costs its object and its bytes.
void CTextEdit::AddLine(const char* text, uint32_t size)
{
    CList* list = GetLines();
    if (!list)
        return;
    auto row = new CString(application);
    row->SetText(text, size);
    list->Add(row);
}

void CTextEdit::DeleteFirstLine() { DeleteRow(0); }

void CTextEdit::PasteBlock(const char* text, uint32_t size)
{
    if (!editable || !text)
        return;
    std::vector<CTextEdit*> columns;
    for (CTextEditRing* member : Members(this))
        if (auto* column = dynamic_cast<CTextEdit*>(member))
            columns.push_back(column);
    for (CTextEdit* column : columns)
        column->StoreEditor();
    const char* end = text + size;
    if (size > 0 && end[-1] == '\n')
        end--;  // a block's last line ends in a line feed too
    // Each column reports the rows the block covers as one change.
    uint32_t first = currentRow;
    auto last = uint32_t(std::min<uint64_t>(uint64_t(first) + std::count(text, end, '\n'), UINT32_MAX - 1));
    std::vector<std::vector<std::string>> before(columns.size());
    for (size_t k = 0; k < columns.size(); k++) {
        if (columns[k]->Reporting())
            before[k] = columns[k]->RowTexts(first, last + 1);
        columns[k]->quiet = true;
    }
    uint32_t row = currentRow;
    bool cut = false;
    for (const char* line = text;; row++) {
        const char* lineEnd = std::find(line, end, '\n');
        for (CTextEdit* column : columns)
            column->EnsureRow(row);
        const char* cell = line;
        for (CTextEdit* column : columns) {
            const char* cellEnd = std::find(cell, lineEnd, '\t');
            std::string kept = CellOf(cell, cellEnd);
            if (kept.size() > DataCellLongest) {
                kept.resize(DataCellLongest);
                cut = true;
            }
            column->SetRowText(row, kept.data(), uint32_t(kept.size()));
            if (cellEnd == lineEnd)
                break;
            cell = cellEnd + 1;
        }
        if (lineEnd == end)
            break;
        line = lineEnd + 1;
    }
    for (size_t k = 0; k < columns.size(); k++) {
        CTextEdit* column = columns[k];
        column->quiet = false;
        column->LoadEditor();
        column->DropChangedMark();
        if (column->Reporting())
            column->Report(first, std::move(before[k]), column->RowTexts(first, last + 1));
    }
    WalkRing(this, CurrentRowWalk, row);
    if (cut && parent) {
        CEvent told;
        told.type = EV_NOTICE;
        told.value = NoticeCellCut;
        told.source = this;
        parent->HandleEvent(told);
    }
}

void CTextEdit::SetMarkedLine(int32_t line)
{
    CString* text = line >= 0 ? LineAt(uint32_t(line)) : nullptr;
    markedLine = text ? line : -1;
    markedText = text ? std::string(text->GetBuffer(), text->GetLength()) : std::string();
    Draw();
}

int32_t CTextEdit::GetMarkedLine()
{
    DropChangedMark();
    return markedLine;
}

// True when a mark was dropped because its line's text is no longer what was marked.
// Asked only while the editor holds the current row's text.
bool CTextEdit::DropChangedMark()
{
    if (markedLine < 0)
        return false;
    CString* text = LineAt(uint32_t(markedLine));
    if (text && std::string(text->GetBuffer(), text->GetLength()) == markedText)
        return false;
    markedLine = -1;
    return true;
}

// A confirmed cell: the editor's text becomes the row's, a change when it differs.
void CTextEdit::StoreEditor()
{
    CEditBox* box = GetEditor();
    CString* row = RowAt(currentRow);
    CString* text = box ? box->GetText() : nullptr;
    if (!text || !row)
        return;
    if (row->GetLength() == text->GetLength() &&
        (text->GetLength() == 0 || std::memcmp(row->GetBuffer(), text->GetBuffer(), text->GetLength()) == 0))
        return;
    std::string before = Text(row);
    row->SetText(text->GetBuffer(), text->GetLength());
    Report(currentRow, {before}, {Text(row)});
}

void CTextEdit::LoadEditor()
{
    CEditBox* box = GetEditor();
    CString* row = RowAt(currentRow);
    if (!box)
        return;
    box->SetText(row ? row->GetBuffer() : "", row ? row->GetLength() : 0);
    box->Draw();
}

void CTextEdit::EnsureRow(uint32_t row)
{
    CList* list = GetLines();
    if (!list || list->GetCount() > row)
        return;
    uint32_t first = list->GetCount();
    while (list->GetCount() <= row)
        AddLine("", 0);
    if (Reporting())
        Report(first, {}, std::vector<std::string>(list->GetCount() - first));
}

void CTextEdit::SetRowText(uint32_t row, const char* text, uint32_t size)
{
    if (CString* line = RowAt(row))
        line->SetText(text, size);
}

CString* CTextEdit::RowAt(uint32_t row) const
{
    CList* list = GetLines();
    return list ? static_cast<CString*>(list->GetAt(row)) : nullptr;
}

std::string CTextEdit::RowText(uint32_t row) const { return Text(RowAt(row)); }

// The stored texts of rows [row, end), as far as there are rows.
std::vector<std::string> CTextEdit::RowTexts(uint32_t row, uint32_t end) const
{
    std::vector<std::string> texts;
    end = std::min(end, uint32_t(GetLines() ? GetLines()->GetCount() : 0));
    for (uint32_t i = row; i < end; i++)
        texts.push_back(RowText(i));
    return texts;
}

bool CTextEdit::Reporting() const
{
    return !quiet && changes && application && application->IsAlive(changesObject);
}

void CTextEdit::Report(uint32_t row, std::vector<std::string>&& before, std::vector<std::string>&& after)
{
    if (Reporting())
        changes->RowsChanged(this, row, std::move(before), std::move(after));
}
