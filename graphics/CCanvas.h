#pragma once

#include <cstdint>

#include "core/CComponent.h"
#include "core/Variable.h"

class CFont;
class CString;
class PSurface;

// An off-screen surface of a fixed size with the drawing primitives every widget and
// image uses. Windows own one and copy it to the screen; images are canvases filled
// from files. The pixels live in a platform surface (GetSurface); the optional work
// copy is a second surface for pixel-by-pixel editing.
class CCanvas : public CComponent {
public:
    explicit CCanvas(CApplication* app);
    ~CCanvas() override;

    int Destroy() override;
    virtual int Load(const char* fileName);
    virtual void DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h);

    void Reset();
    void Create(int w, int h);
    void SetColour(uint32_t value) { colour = value; }
    void SetColourRGB(uint32_t r, uint32_t g, uint32_t b);
    uint32_t GetColour() const { return colour; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    // The surface itself: what a window copies to the screen. Null without a surface.
    PSurface* GetDC() const { return bitmap; }
    PSurface* GetSurface() const { return bitmap; }
    CFont* GetFont() const;

    void FillRect(int x, int y, int w, int h);
    void Outline(int x, int y, int w, int h);
    void Line(int x1, int y1, int x2, int y2);
    void DrawText(const char* text, int x, int y);
    void DrawText(const char* text, uint32_t count, int x, int y);
    void DrawText(CString* text, int x, int y);
    void DrawCell(CCanvas* cell, int x, int y);
    void DrawCellPart(CCanvas* cell, int x, int y, int sx, int sy, int w, int h);

    void SetWorkCopy(int on);
    void PutPixel(int x, int y, uint32_t value);
    uint32_t GetPixel(int x, int y) const;
    void CommitWork();

    Variable font;
    uint32_t drawMode = 0;  // 0 copy, 1 AND, 2 OR
    uint32_t colour = 0;
    PSurface* bitmap = nullptr;
    PSurface* workBitmap = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t workCopy = 0;

protected:
    // Loads one of the single-image formats by the name's extension; 1 when read.
    int LoadImageFile(const char* fileName);

private:
    int DestroyCanvas();
    void NewDefaultFont();
};
