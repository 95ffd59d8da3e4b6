#pragma once

#include "graphics/CCanvas.h"

// A canvas drawn through a second canvas, its mask: the mask is ANDed into the target,
// then the image ORed. A white mask with a black image leaves the target alone; a
// black mask draws the image as it is.
class CCell : public CCanvas {
public:
    explicit CCell(CApplication* app);
    ~CCell() override;

    void DrawOn(CCanvas* target, int x, int y, int sx, int sy, int w, int h) override;

    CCanvas* GetMask() const;

    Variable mask;
};
