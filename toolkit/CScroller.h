#pragma once

#include <cstdint>

#include "toolkit/CTextEditRing.h"
#include "toolkit/CWindow.h"

// A vertical scroll bar for a row component: it shows and moves the current row of the
// component its `nextFocus` points to, and takes part in that component's ring. A drag
// moves one row per pixel of pointer movement, driven by a timer while the button is
// held, and the thumb pulses meanwhile. The keyboard focus never stays on it.
class CScroller : public CWindow, public CTextEditRing {
public:
    explicit CScroller(CGApplication* app);
    ~CScroller() override;

    void HandleEvent(CEvent event) override;
    void Draw() override;

    void SetCurrentRow(uint32_t row) override;
    void DeleteRow(uint32_t) override {}
    uint32_t GetCurrentRow() override;
    uint32_t GetLineCount() override;
    void FollowWalk(Walk walk, uint32_t row) override;

    int32_t pulse = 0;
    uint32_t pulseUp = 1;
    uint32_t scrollPressed = 0;
    uint32_t scrollHover = 0;
    uint32_t dragRow = 0;
    Variable scrollTimer;
    CEvent cursorNow;
    CEvent cursorBefore;

private:
    void HandleOwn(CEvent event);
    void HandleOther(CEvent event);
    void StartDrag();
    void EndDrag();
    void OnTimer();
    void HandFocusOn();
    void PassFocusWithKey(CEvent event);
    CTextEditRing* Linked() const;
    int ThumbTop();
};
