#pragma once

#include <cstdint>

#include "toolkit/CWindow.h"

class CBCell;
class CString;

// A push button painted entirely by code, in a colour scheme chosen by its state and
// size. It reports a press as EV_CLICK to its parent: the loop makes one on a release
// inside it, the button itself for the Enter key.
class CButton : public CWindow {
public:
    explicit CButton(CGApplication* app);
    ~CButton() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    void SetCaption(const char* text);
    void SetButtonIcon(CBCell* cell);

    uint32_t hover = 0;
    uint32_t focused = 0;
    uint32_t pressed = 0;
    Variable captionFont;
    Variable caption;
    Variable buttonIcon;

protected:
    // The parent's pixels under the button, so that what the face leaves shows it.
    void CopyParentBackground();
    // Caption colour, caption and icon, then the copy to the screen.
    void DrawCaptionAndIcon();

private:
    void ButtonEvent(CEvent& event);
};
