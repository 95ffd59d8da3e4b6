#pragma once

#include <cstdint>

#include "toolkit/CWComponent.h"

class CCanvas;
class CObjectList;

// The title that asks for an undecorated popup; recognised by its address, not its text.
inline constexpr char NoTitle[] = "";

// A native window backed by an off-screen canvas of its client size. Components draw
// only into the canvas; Blit copies it to the screen. Events a window receives are
// passed up to its parent with `source` set to the window.
class CWindow : public CWComponent {
public:
    explicit CWindow(CGApplication* app);
    ~CWindow() override;

    int Destroy() override;
    virtual void UpdateRect(int x, int y, int w, int h);
    virtual void Update();
    virtual void Blit(int x, int y, int w, int h);
    virtual void BlitAll();
    void HandleEvent(CEvent event) override;
    virtual void Draw();

    // Creates the native window and its canvas filled with (r, g, b); a null title
    // means the application's title, NoTitle an undecorated popup.
    void Create(int x, int y, int w, int h, CWindow* parent, const char* title, uint32_t r, uint32_t g,
                uint32_t b);
    void Show();
    void Hide();
    void MoveTo(CEvent rect);
    CEvent GetRect() const;
    void SetTitle(const char* text);
    CCanvas* GetCanvas() const;
    CWindow* GetParent() const { return parent; }
    platform::PHandle GetHandle() const override { return handle; }

    platform::PHandle handle = 0;
    Variable canvas;
    CObjectList* children = nullptr;
    uint16_t visible = 0;
    CWindow* parent = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t alive = 0;

protected:
    // The geometry and canvas part of EV_RESIZE, for widgets that paint at the new size
    // before the event goes on.
    void ApplyResize(const CEvent& rect);

private:
    int DestroyWindow();
    void NewCanvas(int w, int h);
    void SendToSelf(int32_t type);
};
