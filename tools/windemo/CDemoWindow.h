#pragma once

#include "toolkit/CWindow.h"

class CDemoTile;

// The demonstration's top-level window: three tiles and a stripe that a 25 ms timer
// moves, so the loop's timers and idle behaviour can be watched. Closing it, or
// Escape, ends the loop.
class CDemoWindow : public CWindow {
public:
    explicit CDemoWindow(CGApplication* app);
    ~CDemoWindow() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    Variable tiles[3];
    Variable timer;
    int phase = 0;
    int lastClicked = -1;

private:
    void Build();
};
