#pragma once

#include <cstdint>

#include "toolkit/CEditable.h"
#include "toolkit/CWindow.h"

class CFont;
class CString;

// One line of editable text with a caret, a horizontally scrolling view, a marked
// range and clipboard commands. The Control key arms a prefix: the next printable
// character is a command (v paste, b replace the mark, c copy, x cut, m mark, n clear
// the mark; in a column z undo, y redo). Holding Control while pressing V, C, X, Z or
// Y runs the same commands, Control+Shift+Z redoes.
class CEditBox : public CWindow, public CEditable {
public:
    // The rows a cell editor belongs to: a pasted block of rows goes to them whole.
    class Column {
    public:
        virtual void PasteBlock(const char* text, uint32_t size) = 0;
        // Whether a number too wide for the cell is drawn shortened, as the rows are.
        virtual bool FitsNumbers() const = 0;
        // Undo (forth false) or redo asked for in the cell.
        virtual void HistoryKey(bool forth) = 0;

    protected:
        ~Column() = default;
    };

    explicit CEditBox(CGApplication* app);
    ~CEditBox() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    CString* GetText() const;
    // Replaces the text; caret, view and mark go back to the start.
    void SetText(const char* text, uint32_t size);
    // Makes the box the cell editor of a column (`owner`, as `rows`): the bytes a data
    // cell cannot hold are dropped, text beyond the most a cell holds is cut (EV_NOTICE
    // NoticeCellCut goes up), and a pasted block is handed to the rows.
    void SetColumn(CObject* owner, Column* rows)
    {
        columnObject = owner;
        column = rows;
    }

    Variable editText;
    Variable editFont;
    uint32_t boxFocused = 0;
    uint32_t boxHover = 0;
    // Set by the column while the cell being edited is marked as at fault: drawn red.
    uint32_t cellMarked = 0;
    uint32_t firstChar = 0;
    uint32_t caret = 0;
    uint32_t prefixArmed = 0;
    uint32_t selStart = 0;
    uint32_t selEnd = 0;
    // Control is down now (a chord), as opposed to armed as a prefix.
    uint32_t controlHeld = 0;
    uint32_t shiftHeld = 0;
    CObject* columnObject = nullptr;
    Column* column = nullptr;

private:
    void HandleOwn(CEvent event);
    void OnCreate();
    void OnKeyDown(CEvent event);
    void OnKeyUp(CEvent event);
    void OnChar(CEvent event);
    void RunCommand(char command);
    void InsertChar(char c);
    void InsertText(const char* text, uint32_t size);
    void Paste();
    CString* ClipboardText();
    void Tell(int32_t notice);
    void ReplaceMark();
    void CopyMark();
    void CutMark();
    void PlaceCaret(int x);
    void DrawIfShown();

    int Width(uint32_t from, uint32_t to);
    void ScrollToCaret();
    void DrawBackground();
    void DrawMark();
    void DrawCaretAndText(int caretX);
    void DrawPiece(uint32_t from, uint32_t to, int x);
    void DrawBytes(const char* bytes, uint32_t size, int x);
    bool ShowsFittedNumber();
    void DrawFittedNumber();
};
