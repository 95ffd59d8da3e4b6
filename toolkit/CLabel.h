#pragma once

#include <cstdint>

#include "toolkit/CWindow.h"

class CBCell;

// Static text, optionally after an image, drawn over the parent's background. Pointer
// events go on to the parent, so a click on a label is a click on the window under it.
class CLabel : public CWindow {
public:
    enum Alignment : int32_t { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

    explicit CLabel(CGApplication* app);
    ~CLabel() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    void SetText(const char* value);
    void SetImage(CBCell* cell);
    void SetAlignment(int32_t n);

    Variable text;
    Variable labelImage;
    int32_t textStyle = 1;  // 0 plain; 1 and 2 with a shadow one pixel apart
    int32_t alignment = AlignLeft;
    uint32_t textColour = 0;
    uint32_t shadowColour = 0;
};
