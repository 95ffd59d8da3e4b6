#pragma once

#include <cstdint>

#include "graphics/CCell.h"

class CIO;

// An image cell with per-pixel colour and opacity, drawn with alpha blending, faded
// or scaled. It holds either four channels (red, green, blue, alpha; index
// y × width + x) or a surface with a mask whose red part is the opacity, and draws
// from whichever it has. Cells with channels need no surface of their own.
class CBCell : public CCell {
public:
    explicit CBCell(CApplication* app);
    ~CBCell() override;

    int Destroy() override;
    int Load(const char* fileName) override;
    void DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h) override;
    virtual int LoadCel(CIO* stream);
    virtual int LoadCelChannels(CIO* stream);
    virtual int LoadBmpCel(CIO* stream);

    void ResetCell();
    int HasChannels() const { return channelsReady; }
    void BuildChannels();
    void DrawFaded(CCanvas* target, int x, int y, int sx, int sy, int w, int h, float opacity);
    // A new w × h cell holding channels only, protected for the caller.
    CBCell* Scaled(int w, int h);

    uint32_t* red = nullptr;
    uint32_t* green = nullptr;
    uint32_t* blue = nullptr;
    uint32_t* alpha = nullptr;
    uint8_t channelsReady = 0;

private:
    int DestroyCell();
    void FreeChannels();
    void AllocateChannels(int w, int h);
    void NewMask();
    int LoadPair(CIO* stream, int (*reader)(CCanvas*, CIO*));
};
