// The striped grid of a CTextEdit. Only the visible rows are touched, so a column of
// any length draws in the same time.
#include <algorithm>
#include <string>

#include "core/CList.h"
#include "core/CString.h"
#include "graphics/CCanvas.h"
#include "graphics/CFont.h"
#include "toolkit/CEditBox.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/FittedNumber.h"

namespace {
struct Rgb {
    uint8_t r, g, b;
};

// Every colour of the grid, by its role.
constexpr struct {
    Rgb ground{255, 254, 248};
    Rgb border{227, 226, 192};
    Rgb bottomLine{247, 245, 222};
    Rgb stripBelow{232, 238, 252};
    Rgb stripBeside{242, 246, 228};
    Rgb evenRow{252, 255, 255};
    Rgb oddRow{242, 250, 255};
    Rgb separator{198, 226, 255};
    Rgb currentOuter{198, 242, 255};
    Rgb currentInner{164, 202, 255};
    Rgb marked{255, 208, 208};
    Rgb markedOuter{255, 170, 170};
    Rgb markedInner{230, 60, 60};
    Rgb frame{0, 0, 0};
    Rgb text{0, 0, 0};
    Rgb aboveMarker{214, 255, 175};
    Rgb aboveTip{114, 255, 45};
    Rgb belowMarker{255, 214, 175};
    Rgb belowTip{255, 114, 45};
} Colours;

// Row texts start at x = 2 and keep clear of the markers at the right edge.
constexpr int TextLeft = 2;
constexpr int TextRightMargin = 7;

void SetColour(CCanvas* canvas, Rgb c) { canvas->SetColourRGB(c.r, c.g, c.b); }
}  // namespace

void CTextEdit::Draw()
{
    CCanvas* canvas = GetCanvas();
    if (!created || !canvas || rowHeight <= 0)
        return;
    int visibleRows = height / rowHeight;
    KeepCurrentVisible(visibleRows);
    DrawGround(visibleRows);
    DrawMarkedLine(visibleRows);
    int r = rowHeight * int(currentRow - firstRow);
    if (editable) {
        // The editor covers the current row: a marked one shows in the bands around it.
        bool marked = int64_t(currentRow) == markedLine;
        SetColour(canvas, marked ? Colours.markedOuter : Colours.currentOuter);
        canvas->FillRect(1, r - 3, width - 2, rowHeight + 6);
        SetColour(canvas, marked ? Colours.markedInner : Colours.currentInner);
        canvas->FillRect(2, r - 2, width - 4, rowHeight + 4);
    }
    SetColour(canvas, Colours.frame);
    canvas->Outline(0, 0, width, height);
    DrawRowTexts(visibleRows);
    DrawMarkers(visibleRows);
    DrawRowTexts(visibleRows);
    Update();
    drawnRow = int32_t(currentRow - firstRow);
    if (CEditBox* box = GetEditor()) {
        CEvent place;
        place.x = 0;
        place.y = r;
        place.width = width;
        place.height = rowHeight;
        box->MoveTo(place);
        uint32_t marked = int64_t(currentRow) == markedLine ? 1 : 0;
        if (box->cellMarked != marked) {
            box->cellMarked = marked;
            box->Draw();
        }
    }
}

void CTextEdit::KeepCurrentVisible(int visibleRows)
{
    uint32_t shown = uint32_t(std::max(visibleRows, 1));
    if (firstRow + shown - 1 < currentRow)
        firstRow = currentRow - (shown - 1);
    else if (currentRow < firstRow)
        firstRow = currentRow;
}

void CTextEdit::DrawGround(int visibleRows)
{
    CCanvas* canvas = GetCanvas();
    SetColour(canvas, Colours.ground);
    canvas->FillRect(0, 0, width, height);
    SetColour(canvas, Colours.border);
    canvas->Outline(1, 1, width - 3, height - 3);
    SetColour(canvas, Colours.bottomLine);
    canvas->Line(3, height - 4, width - 4, height - 4);

    uint32_t rowsBelow = GetLineCount() - firstRow;
    int64_t reach = int64_t(rowsBelow) * rowHeight - 2;
    int b = int(std::min<int64_t>(reach, height));
    SetColour(canvas, Colours.stripBelow);
    canvas->FillRect(2, b, 4, height - b - 4);
    SetColour(canvas, Colours.stripBeside);
    canvas->FillRect(2, 5, 4, std::min(b, height - 4));

    int stripes = int(std::min<uint32_t>(rowsBelow, uint32_t(visibleRows) + 1));
    for (int i = 0; i < stripes; i++) {
        SetColour(canvas, (firstRow + i) % 2 == firstRow % 2 ? Colours.evenRow : Colours.oddRow);
        canvas->FillRect(2, i * rowHeight, width - 4, rowHeight - 1);
        SetColour(canvas, Colours.separator);
        canvas->Line(2, (i + 1) * rowHeight - 1, width - 3, (i + 1) * rowHeight - 1);
    }
}

void CTextEdit::DrawRowTexts(int visibleRows)
{
    CCanvas* canvas = GetCanvas();
    CFont* font = canvas->GetFont();
    SetColour(canvas, Colours.text);
    for (int i = 0; i <= visibleRows; i++) {
        CString* row = RowAt(firstRow + uint32_t(i));
        if (!row)
            break;
        int bottom = (i + 1) * rowHeight;
        if (!fitsNumbers || !font) {
            canvas->DrawText(row->GetBuffer(), row->GetLength(), TextLeft, bottom);
            continue;
        }
        std::string shown = FittedNumber(row->GetBuffer(), row->GetLength(), width - TextLeft - TextRightMargin,
                                         [font](const char* text, uint32_t size) { return font->TextWidth(text, size); });
        canvas->DrawText(shown.data(), uint32_t(shown.size()), TextLeft, bottom);
    }
}

void CTextEdit::DrawMarkedLine(int visibleRows)
{
    if (markedLine < int64_t(firstRow) || markedLine > int64_t(firstRow) + visibleRows)
        return;
    SetColour(GetCanvas(), Colours.marked);
    GetCanvas()->FillRect(2, (markedLine - int32_t(firstRow)) * rowHeight, width - 4, rowHeight - 1);
}

// Small marks at the right edge tell that rows lie above or below the view.
void CTextEdit::DrawMarkers(int visibleRows)
{
    CCanvas* canvas = GetCanvas();
    int left = width - 6;
    if (firstRow > 0) {
        SetColour(canvas, Colours.aboveMarker);
        canvas->FillRect(left, 1, 4, rowHeight - 3);
        SetColour(canvas, Colours.aboveTip);
        canvas->FillRect(left, rowHeight, 4, 3);
    }
    if (uint64_t(firstRow) + uint64_t(visibleRows) < GetLineCount()) {
        SetColour(canvas, Colours.belowMarker);
        canvas->FillRect(left, height - rowHeight - 5, 4, rowHeight - 3);
        SetColour(canvas, Colours.belowTip);
        canvas->FillRect(left, height - 5, 4, 3);
    }
}
