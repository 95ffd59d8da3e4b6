#pragma once

#include "toolkit/CWindow.h"

// A child window that shows the loop's events on itself: lit while the pointer is
// over it, darker while pressed, and counting its clicks.
class CDemoTile : public CWindow {
public:
    CDemoTile(CGApplication* app, const char* name);
    ~CDemoTile() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    const char* name;
    int hover = 0;
    int pressed = 0;
    int clicks = 0;
};
