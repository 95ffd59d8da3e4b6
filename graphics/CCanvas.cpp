#include "graphics/CCanvas.h"

#include <cstring>

#include "core/CApplication.h"
#include "core/CString.h"
#include "graphics/CFont.h"
#include "graphics/Colour.h"
#include "platform/PSurface.h"

namespace {
// Surfaces take their pixels from the application's allocator, which reclaims
// unreferenced objects instead of failing.
PSurface* NewSurface(int w, int h) { return new PSurface(w, h, CApplication::AllocateBlock, CApplication::Free); }

PRasterOp RasterOpOf(uint32_t drawMode)
{
    switch (drawMode) {
    case 1: return RopAnd;
    case 2: return RopOr;
    default: return RopCopy;
    }
}
}  // namespace

CCanvas::CCanvas(CApplication* app) : CComponent(app) { className = "CCanvas"; }

CCanvas::~CCanvas()
{
    LeaveRegistry();
    if (created)
        DestroyCanvas();
}

int CCanvas::Destroy() { return DestroyCanvas(); }

int CCanvas::Load(const char* fileName) { return LoadImageFile(fileName); }

void CCanvas::DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h)
{
    if (!target || !target->bitmap || !bitmap)
        return;
    if (w == 0 || h == 0)
        w = width, h = height;
    target->bitmap->BitBlt(x, y, w, h, *bitmap, sx, sy, RasterOpOf(drawMode));
}

void CCanvas::Reset()
{
    DestroyCanvas();
    NewDefaultFont();
    drawMode = 0;
    workCopy = 0;
}

void CCanvas::Create(int w, int h)
{
    DestroyCanvas();
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    bitmap = NewSurface(width, height);
    NewDefaultFont();
    drawMode = 0;
    created = 1;
}

CFont* CCanvas::GetFont() const { return font.As<CFont>(); }

void CCanvas::SetColourRGB(uint32_t r, uint32_t g, uint32_t b) { colour = packColour(r, g, b); }

void CCanvas::FillRect(int x, int y, int w, int h)
{
    if (bitmap)
        bitmap->FillRect(x, y, w, h, colour);
}

void CCanvas::Outline(int x, int y, int w, int h)
{
    if (!bitmap)
        return;
    for (int i = x; i <= x + w; i++) {
        bitmap->SetPixel(i, y, colour);
        bitmap->SetPixel(i, y + h, colour);
    }
    for (int j = y; j <= y + h; j++) {
        bitmap->SetPixel(x, j, colour);
        bitmap->SetPixel(x + w, j, colour);
    }
}

void CCanvas::Line(int x1, int y1, int x2, int y2)
{
    if (!bitmap)
        return;
    bitmap->Line(x1, y1, x2, y2, colour);
    bitmap->SetPixel(x2, y2, colour);
}

void CCanvas::DrawText(const char* text, int x, int y)
{
    if (text)
        DrawText(text, static_cast<uint32_t>(std::strlen(text)), x, y);
}

void CCanvas::DrawText(const char* text, uint32_t count, int x, int y)
{
    if (!bitmap || !text)
        return;
    CFont* canvasFont = GetFont();
    const PFont* handle = canvasFont && canvasFont->created ? canvasFont->fontHandle : nullptr;
    bitmap->DrawText(x, y, text, static_cast<int>(count), handle, colour);
}

void CCanvas::DrawText(CString* text, int x, int y)
{
    Variable hold(text);
    if (text)
        DrawText(text->GetBuffer(), text->GetLength(), x, y);
}

void CCanvas::DrawCell(CCanvas* cell, int x, int y)
{
    if (cell)
        cell->DrawOn(this, x, y, 0, 0, 0, 0);
}

void CCanvas::DrawCellPart(CCanvas* cell, int x, int y, int sx, int sy, int w, int h)
{
    if (cell)
        cell->DrawOn(this, x, y, sx, sy, w, h);
}

void CCanvas::SetWorkCopy(int on)
{
    if ((on != 0) == (workCopy != 0))
        return;
    if (on) {
        workBitmap = NewSurface(width, height);
        if (bitmap)
            workBitmap->BitBlt(0, 0, width, height, *bitmap, 0, 0, RopCopy);
        workCopy = 1;
    } else {
        delete workBitmap;
        workBitmap = nullptr;
        workCopy = 0;
    }
}

void CCanvas::PutPixel(int x, int y, uint32_t value)
{
    if (workBitmap)
        workBitmap->SetPixel(x, y, value);
}

uint32_t CCanvas::GetPixel(int x, int y) const { return workBitmap ? workBitmap->GetPixel(x, y) : InvalidColour; }

void CCanvas::CommitWork()
{
    if (bitmap && workBitmap)
        bitmap->BitBlt(0, 0, width, height, *workBitmap, 0, 0, RopCopy);
}

int CCanvas::DestroyCanvas()
{
    if (created) {
        delete bitmap;
        delete workBitmap;
        bitmap = workBitmap = nullptr;
        workCopy = 0;
    }
    created = 0;
    return 0;
}

void CCanvas::NewDefaultFont()
{
    auto fresh = new CFont(application);
    font = fresh;
    fresh->SetDefault();
}
