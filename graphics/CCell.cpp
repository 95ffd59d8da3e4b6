#include "graphics/CCell.h"

#include "platform/PSurface.h"

CCell::CCell(CApplication* app) : CCanvas(app) { className = "CCell"; }

CCell::~CCell() { LeaveRegistry(); }

void CCell::DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h)
{
    if (!target || !target->GetSurface() || !GetSurface())
        return;
    if (w == 0 || h == 0)
        w = width, h = height;
    if (CCanvas* maskCanvas = GetMask(); maskCanvas && maskCanvas->GetSurface())
        target->GetSurface()->BitBlt(x, y, w, h, *maskCanvas->GetSurface(), sx, sy, RopAnd);
    target->GetSurface()->BitBlt(x, y, w, h, *GetSurface(), sx, sy, RopOr);
}

CCanvas* CCell::GetMask() const { return mask.As<CCanvas>(); }
