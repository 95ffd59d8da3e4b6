#include "toolkit/CEditBox.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "io/DataCell.h"
#include "toolkit/CGApplication.h"
#include "toolkit/FittedNumber.h"
#include "toolkit/Notice.h"

using namespace platform;

namespace {
struct Rgb {
    uint8_t r, g, b;
};

// A fill of (x, y, W + dw, H + dh) in a box of W × H.
struct Fill {
    Rgb colour;
    int8_t x, y, dw, dh;
};

struct Look {
    Fill fills[4];
    int count;
    Rgb frame;
};

constexpr Rgb Black{0, 0, 0};

enum LookIndex { Fixed, FixedHover, Prefix, Idle, IdleHover, Focused, FocusedHover, Marked };

constexpr Look Looks[] = {
    {{{{236, 248, 255}, 0, 0, 0, 0}, {{196, 226, 254}, 1, 2, -1, -4}, {{228, 246, 255}, 2, 4, -4, -10},
      {{252, 254, 255}, 3, 5, -6, -14}},
     4,
     {45, 82, 138}},
    {{{{248, 182, 52}, 0, 0, 0, 0}, {{252, 235, 153}, 1, 2, -1, -4}, {{254, 246, 224}, 2, 4, -4, -10},
      {{255, 252, 246}, 3, 5, -6, -14}},
     4,
     {24, 12, 0}},
    {{{{45, 175, 255}, 0, 0, 0, 0}, {{192, 235, 255}, 1, 2, -1, -4}, {{232, 248, 255}, 3, 5, -6, -10}}, 3, Black},
    {{{{102, 102, 102}, 0, 0, 0, 0}, {{226, 226, 226}, 1, 1, -2, -2}, {{244, 244, 245}, 2, 2, -4, -4},
      {{252, 254, 255}, 3, 5, -6, -14}},
     4,
     Black},
    {{{{165, 212, 255}, 0, 0, 0, 0}, {{205, 248, 255}, 1, 2, -2, -4}, {{250, 253, 255}, 2, 4, -4, -8}}, 3, Black},
    {{{{175, 255, 128}, 0, 0, 0, 0}, {{215, 255, 178}, 1, 2, -1, -4}, {{245, 255, 232}, 2, 4, -4, -8}}, 3, Black},
    {{{{255, 192, 186}, 0, 0, 0, 0}, {{255, 218, 208}, 1, 2, -2, -4}, {{255, 242, 232}, 2, 4, -4, -8}}, 3, Black},
    {{{{230, 60, 60}, 0, 0, 0, 0}, {{255, 170, 170}, 1, 2, -2, -4}, {{255, 208, 208}, 2, 4, -4, -8}}, 3, {160, 0, 0}},
};

// The marked range: fills of (bx + x, y, bw + dw, H + dh).
constexpr Fill MarkFills[] = {
    {{255, 248, 48}, 0, 0, 0, 0},
    {{255, 252, 172}, 1, 2, -1, -4},
    {{255, 254, 228}, 2, 4, -4, -10},
    {{255, 255, 252}, 3, 5, -6, -14},
};

// The caret's two columns, at an even and at an odd position.
constexpr Rgb CaretColours[2][2] = {{{232, 232, 232}, {255, 255, 255}}, {{255, 245, 225}, {255, 245, 125}}};
constexpr Rgb TextShadow{252, 254, 255};

constexpr uint32_t VK_C = 'C';
constexpr uint32_t VK_V = 'V';
constexpr uint32_t VK_X = 'X';
constexpr uint32_t VK_Y = 'Y';
constexpr uint32_t VK_Z = 'Z';

// Where the caret may go at most before the view scrolls: the box less its margins.
constexpr int ScrollMargin = 12;
constexpr int TextInset = 4;  // the text's left edge, and its right margin at rest

void SetColour(CCanvas* canvas, Rgb c) { canvas->SetColourRGB(c.r, c.g, c.b); }

// What a pasted text is for a cell: one line (its own trailing line break dropped)
// without tabs, or a block of lines and cells.
bool IsBlock(const char* text, uint32_t size)
{
    if (size > 0 && text[size - 1] == '\n')
        size--;
    return std::find(text, text + size, '\n') != text + size || std::find(text, text + size, '\t') != text + size;
}

// The bytes a cell keeps of a pasted line; a carriage return there is a line break's.
std::string CellBytes(const char* text, uint32_t size)
{
    std::string kept;
    kept.reserve(size);
    for (uint32_t i = 0; i < size; i++)
        if (IsDataCellByte(text[i]) && text[i] != '\r')
            kept += text[i];
    return kept;
}

LookIndex LookOf(uint32_t editable, uint32_t prefixArmed, uint32_t focused, uint32_t hover, uint32_t marked)
{
    if (!editable)
        return hover ? FixedHover : Fixed;
    if (prefixArmed)
        return Prefix;
    if (marked)
        return Marked;
    if (focused)
        return hover ? FocusedHover : Focused;
    return hover ? IdleHover : Idle;
}

bool IsModifier(uint32_t key) { return key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU; }
}  // namespace

CEditBox::CEditBox(CGApplication* app) : CWindow(app) { className = "CEditBox"; }

CEditBox::~CEditBox() { LeaveRegistry(); }

void CEditBox::HandleEvent(CEvent event)
{
    if (!alive || event.source != application)
        return;
    if (event.type == EV_RESIZE) {
        // The base handler sizes the canvas first; the box then draws on the new one.
        CWindow::HandleEvent(event);
        editFont = GetCanvas() ? GetCanvas()->GetFont() : nullptr;
        Draw();
        return;
    }
    HandleOwn(event);
    CWindow::HandleEvent(event);
}

CString* CEditBox::GetText() const { return editText.As<CString>(); }

void CEditBox::SetText(const char* text, uint32_t size)
{
    if (CString* own = GetText())
        own->SetText(text, size);
    caret = firstChar = selStart = selEnd = 0;
}

void CEditBox::HandleOwn(CEvent event)
{
    switch (event.type) {
    case EV_CREATE:
        OnCreate();
        break;
    case EV_SHOW:
        Draw();
        break;
    case EV_FOCUS:
        boxFocused = 1;
        DrawIfShown();
        break;
    case EV_UNFOCUS:
        prefixArmed = 0;
        controlHeld = 0;
        shiftHeld = 0;
        caret = 0;
        boxFocused = 0;
        DrawIfShown();
        break;
    case EV_CLICK:
        PlaceCaret(event.x);
        Draw();
        break;
    case EV_KEYDOWN:
        OnKeyDown(event);
        break;
    case EV_KEYUP:
        OnKeyUp(event);
        break;
    case EV_CHAR:
        OnChar(event);
        break;
    case EV_MOUSEENTER:
        boxHover = 1;
        Draw();
        break;
    case EV_MOUSELEAVE:
        boxHover = 0;
        prefixArmed = 0;
        Draw();
        break;
    default:
        break;
    }
}

void CEditBox::OnCreate()
{
    auto text = new CString(application);
    editText = text;
    text->SetText("", 0);
    editFont = GetCanvas() ? GetCanvas()->GetFont() : nullptr;
    boxHover = 0;
    boxFocused = 1;
    editable = 1;
    firstChar = caret = prefixArmed = selStart = selEnd = 0;
    controlHeld = shiftHeld = 0;
}

void CEditBox::OnKeyDown(CEvent event)
{
    auto key = uint32_t(event.value);
    CString* text = GetText();
    uint32_t length = text ? text->GetLength() : 0;
    if (key == VK_CONTROL) {
        prefixArmed = 1;
        controlHeld = 1;
        Draw();
        return;
    }
    if (key == VK_SHIFT)
        shiftHeld = 1;
    // A key pressed with Control held is a chord, never the start of a prefix command.
    if (controlHeld && !IsModifier(key)) {
        prefixArmed = 0;
        if (key == VK_V || key == VK_C || key == VK_X || key == VK_Y || key == VK_Z) {
            RunCommand(key == VK_Z && shiftHeld ? 'y' : char(std::tolower(int(key))));
            return;
        }
    }
    switch (key) {
    case VK_END:
        caret = length;
        break;
    case VK_HOME:
        firstChar = 0;
        caret = 0;
        break;
    case VK_LEFT:
        if (caret > 0)
            caret--;
        break;
    case VK_RIGHT:
        if (caret < length)
            caret++;
        break;
    case VK_DELETE:
        if (editable && caret < length) {
            text->DeleteChar(caret);
            selStart -= selStart > caret ? 1 : 0;
            selEnd -= selEnd > caret ? 1 : 0;
        }
        break;
    case VK_BACK:
        if (editable && caret > 0) {
            selStart -= selStart >= caret ? 1 : 0;
            selEnd -= selEnd >= caret ? 1 : 0;
            caret--;
            text->DeleteChar(caret);
        }
        break;
    case VK_TAB:
        FocusNext(0);
        return;
    default:
        // A chord that is no command only disarms the prefix.
        if (controlHeld && !IsModifier(key))
            Draw();
        return;
    }
    Draw();
}

void CEditBox::OnKeyUp(CEvent event)
{
    if (uint32_t(event.value) == VK_CONTROL)
        controlHeld = 0;
    if (uint32_t(event.value) == VK_SHIFT)
        shiftHeld = 0;
}

void CEditBox::OnChar(CEvent event)
{
    if (event.key < 32)
        return;  // control characters, Control chords included
    char c = char(event.key);
    if (prefixArmed) {
        prefixArmed = 0;
        RunCommand(char(std::tolower(static_cast<unsigned char>(c))));
        return;
    }
    if (!editable || (column && !IsDataCellByte(c)))
        return;
    if (column && GetText() && GetText()->GetLength() >= DataCellLongest) {
        Tell(NoticeCellCut);
        return;
    }
    InsertChar(c);
    Draw();
}

void CEditBox::RunCommand(char command)
{
    switch (command) {
    case 'v':
        Paste();
        break;
    case 'b':
        ReplaceMark();
        break;
    case 'c':
        CopyMark();
        break;
    case 'x':
        CutMark();
        break;
    case 'm':
        selStart = selEnd;
        selEnd = caret;
        break;
    case 'n':
        selStart = selEnd = 0;
        break;
    case 'z':
    case 'y':
        if (column && GetApplication()->IsAlive(columnObject))
            column->HistoryKey(command == 'y');
        break;
    default:
        break;  // only the disarmed look changes
    }
    Draw();
}

void CEditBox::InsertChar(char c)
{
    CString* text = GetText();
    if (!text)
        return;
    caret = std::min(caret, text->GetLength());
    text->InsertChar(caret, c);
    selStart += selStart > caret ? 1 : 0;
    selEnd += selEnd > caret ? 1 : 0;
    caret++;
}

// In a cell, what goes beyond the most a cell holds is dropped, and the column told.
void CEditBox::InsertText(const char* bytes, uint32_t size)
{
    CString* text = GetText();
    if (!text || size == 0)
        return;
    if (column) {
        uint32_t room = DataCellLongest - std::min(DataCellLongest, text->GetLength());
        if (size > room) {
            size = room;
            Tell(NoticeCellCut);
        }
        if (size == 0)
            return;
    }
    auto piece = new CString(application);
    Variable hold(piece);
    piece->SetText(bytes, size);
    caret = std::min(caret, text->GetLength());
    text->InsertString(caret, piece);
    selStart += selStart > caret ? size : 0;
    selEnd += selEnd > caret ? size : 0;
    caret += size;
}

void CEditBox::Paste()
{
    if (!editable)
        return;
    Variable clip(ClipboardText());
    auto* pasted = clip.As<CString>();
    if (!pasted || pasted->GetLength() == 0)
        return;
    if (!column) {
        InsertText(pasted->GetBuffer(), pasted->GetLength());
        return;
    }
    if (IsBlock(pasted->GetBuffer(), pasted->GetLength()) && GetApplication()->IsAlive(columnObject)) {
        column->PasteBlock(pasted->GetBuffer(), pasted->GetLength());
        return;
    }
    std::string kept = CellBytes(pasted->GetBuffer(), pasted->GetLength());
    InsertText(kept.data(), uint32_t(kept.size()));
}

void CEditBox::ReplaceMark()
{
    CString* text = GetText();
    if (!editable || !text)
        return;
    Variable clip(ClipboardText());
    auto* pasted = clip.As<CString>();
    if (!pasted || pasted->GetLength() == 0)
        return;
    std::string kept = column ? CellBytes(pasted->GetBuffer(), pasted->GetLength())
                              : std::string(pasted->GetBuffer(), pasted->GetLength());
    uint32_t lo = std::min({selStart, selEnd, text->GetLength()});
    uint32_t hi = std::min(std::max(selStart, selEnd), text->GetLength());
    text->DeleteRange(lo, hi);
    caret = lo;
    selStart = selEnd = lo;
    InsertText(kept.data(), uint32_t(kept.size()));
    selStart = lo;
    selEnd = caret;
}

// The clipboard's text; when it holds text that cannot be read, the person is told
// (nothing is pasted).
CString* CEditBox::ClipboardText()
{
    int status = 0;
    CString* text = GetApplication()->GetClipboardText(&status);
    if (status < 0)
        Tell(NoticePasteFailed);
    return text;
}

// Passed up as the box's own, to the window that shows messages.
void CEditBox::Tell(int32_t notice)
{
    CEvent told;
    told.type = EV_NOTICE;
    told.value = notice;
    told.source = application;
    CWindow::HandleEvent(told);
}

void CEditBox::CopyMark()
{
    CString* text = GetText();
    if (!text)
        return;
    uint32_t lo = std::min({selStart, selEnd, text->GetLength()});
    uint32_t hi = std::min(std::max(selStart, selEnd), text->GetLength());
    auto marked = new CString(application);
    Variable hold(marked);
    marked->SetText(text->GetBuffer() + lo, hi - lo);
    GetApplication()->SetClipboardText(marked);
}

void CEditBox::CutMark()
{
    CString* text = GetText();
    if (!editable || !text)
        return;
    CopyMark();
    uint32_t lo = std::min({selStart, selEnd, text->GetLength()});
    uint32_t hi = std::min(std::max(selStart, selEnd), text->GetLength());
    text->DeleteRange(lo, hi);
    if (caret >= hi)
        caret -= hi - lo;
    else if (caret > lo)
        caret = lo;
    selStart = selEnd = lo;
}

// The caret goes before the first character whose right edge reaches the click.
void CEditBox::PlaceCaret(int x)
{
    CString* text = GetText();
    uint32_t length = text ? text->GetLength() : 0;
    firstChar = std::min(firstChar, length);
    for (uint32_t p = firstChar; p < length; p++) {
        if (Width(firstChar, p + 1) >= x) {
            caret = p;
            return;
        }
    }
    caret = length;
}

void CEditBox::DrawIfShown()
{
    if (visible && created)
        Draw();
}

void CEditBox::Draw()
{
    CCanvas* canvas = GetCanvas();
    if (!created || !canvas || !GetText())
        return;
    caret = std::min(caret, GetText()->GetLength());
    ScrollToCaret();
    int caretX = Width(firstChar, caret);
    DrawBackground();
    DrawMark();
    const Look& look = Looks[LookOf(editable, prefixArmed, boxFocused, boxHover, cellMarked)];
    SetColour(canvas, look.frame);
    canvas->Outline(0, 0, width - 1, height - 1);
    DrawCaretAndText(caretX);
    Update();
}

// Width in pixels of the characters from..to-1.
int CEditBox::Width(uint32_t from, uint32_t to)
{
    CString* text = GetText();
    auto* font = editFont.As<CFont>();
    if (!text || !font)
        return 0;
    to = std::min(to, text->GetLength());
    return to > from ? font->TextWidth(text->GetBuffer() + from, to - from) : 0;
}

// The first start from which the text up to the caret fits, found by halving: a long
// text costs a few measures, not one per character.
void CEditBox::ScrollToCaret()
{
    if (caret < firstChar)
        firstChar = caret;
    int room = width - ScrollMargin;
    if (firstChar >= caret || Width(firstChar, caret) <= room)
        return;
    uint32_t low = firstChar + 1, high = caret;
    while (low < high) {
        uint32_t middle = low + (high - low) / 2;
        if (Width(middle, caret) > room)
            low = middle + 1;
        else
            high = middle;
    }
    firstChar = low;
}

void CEditBox::DrawBackground()
{
    CCanvas* canvas = GetCanvas();
    const Look& look = Looks[LookOf(editable, prefixArmed, boxFocused, boxHover, cellMarked)];
    for (int i = 0; i < look.count; i++) {
        const Fill& fill = look.fills[i];
        SetColour(canvas, fill.colour);
        canvas->FillRect(fill.x, fill.y, width + fill.dw, height + fill.dh);
    }
}

void CEditBox::DrawMark()
{
    uint32_t lo = std::min(selStart, selEnd);
    uint32_t hi = std::max(selStart, selEnd);
    if (!(firstChar < hi && lo < hi))
        return;
    uint32_t a = lo + 1;
    uint32_t e = hi + 1;
    int bx = 0;
    int bw = 0;
    // a and e count characters from 1: the range covers characters a to e - 1.
    if (firstChar < a) {
        bw = Width(a - 1, e - 1);
        bx = Width(firstChar, a - 1);
    } else {
        bw = Width(firstChar, e - 1);
    }
    if (boxFocused) {
        if (caret < e)
            bw += 9;
        if (caret < a) {
            bx += 9;
            bw -= 9;
        }
    }
    if (bx != 0) {
        bx -= 1;
        bw += 2;
    }
    CCanvas* canvas = GetCanvas();
    uint32_t kept = canvas->GetColour();
    for (const Fill& fill : MarkFills) {
        SetColour(canvas, fill.colour);
        canvas->FillRect(bx + fill.x, fill.y, bw + fill.dw, height + fill.dh);
    }
    canvas->SetColour(kept);
}

void CEditBox::DrawCaretAndText(int caretX)
{
    CCanvas* canvas = GetCanvas();
    uint32_t length = GetText()->GetLength();
    if (!boxFocused) {
        if (ShowsFittedNumber())
            DrawFittedNumber();
        else
            DrawPiece(firstChar, length, 4);
        return;
    }
    const Rgb* colours = CaretColours[caret % 2];
    int left = caretX + 6;
    SetColour(canvas, colours[0]);
    canvas->FillRect(left, 4, 2, height - 9);
    SetColour(canvas, colours[1]);
    canvas->FillRect(left + 2, 4, 2, height - 9);
    SetColour(canvas, Black);
    canvas->Outline(left, 4, 3, height - 10);
    DrawPiece(firstChar, caret, 4);
    DrawPiece(caret, length, caretX + 13);
}

void CEditBox::DrawPiece(uint32_t from, uint32_t to, int left)
{
    if (to > from)
        DrawBytes(GetText()->GetBuffer() + from, to - from, left);
}

// A piece of text in black over a light shadow one pixel right and down.
void CEditBox::DrawBytes(const char* bytes, uint32_t size, int left)
{
    CCanvas* canvas = GetCanvas();
    auto* font = editFont.As<CFont>();
    int textHeight = font ? font->TextHeight(bytes, size) : 0;
    int bottom = (textHeight + height) / 2;
    SetColour(canvas, TextShadow);
    canvas->DrawText(bytes, size, left + 1, bottom + 1);
    SetColour(canvas, Black);
    canvas->DrawText(bytes, size, left, bottom);
}

// A column's cell at rest shows a number as the column's rows do; while the box has
// the focus, or a range is marked, every character is shown where the caret can reach it.
bool CEditBox::ShowsFittedNumber()
{
    return column && GetApplication()->IsAlive(columnObject) && column->FitsNumbers() && selStart == selEnd &&
           editFont.As<CFont>();
}

void CEditBox::DrawFittedNumber()
{
    auto* font = editFont.As<CFont>();
    CString* text = GetText();
    std::string shown = FittedNumber(text->GetBuffer(), text->GetLength(), width - 2 * TextInset,
                                     [font](const char* bytes, uint32_t size) { return font->TextWidth(bytes, size); });
    if (!shown.empty())
        DrawBytes(shown.data(), uint32_t(shown.size()), TextInset);
}
