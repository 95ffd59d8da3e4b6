#pragma once

#include <cstdint>

#include "toolkit/CWindow.h"

class CBCell;

// The window every application window and dialog derives from: a window framed by a
// self-drawn decoration (a separate popup with the title bar, icon and close button)
// unless it has a parent or is created with NoTitle. Closing the decoration hides
// both; nothing is destroyed by closing.
class CBasicWindow : public CWindow {
public:
    explicit CBasicWindow(CGApplication* app);
    ~CBasicWindow() override;

    int Destroy() override;
    void HandleEvent(CEvent event) override;
    void Draw() override;

    void Create(int x, int y, int w, int h, CWindow* parent, const char* title, uint32_t r, uint32_t g,
                uint32_t b);
    void Show();
    void SetIcon(CBCell* cell);

    Variable decoration;

protected:
    // The basic-window handling, for derived windows that handle some events themselves.
    void BasicEvent(CEvent event);

private:
    int DestroyBasic();
};
