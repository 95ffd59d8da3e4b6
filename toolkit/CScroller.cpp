#include "toolkit/CScroller.h"

#include <algorithm>

#include "graphics/CCanvas.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CTimer.h"

namespace {
constexpr uint32_t DragInterval = 25;
constexpr int32_t PulseLimit = 15;

// A colour whose channels move with the pulse k: channel + k · step.
struct Pulsed {
    uint8_t r, g, b;
    int8_t stepR, stepG, stepB;
};

struct ThumbLook {
    Pulsed outer, inner, highlight;
};

enum ThumbState { Pressed, Hover, Plain };

constexpr ThumbLook ThumbLooks[] = {
    {{255, 164, 96, 0, 1, 1}, {255, 188, 132, 0, 1, 1}, {255, 238, 202, 0, 0, 0}},
    {{136, 198, 255, 0, 0, 0}, {198, 224, 255, 0, 0, 0}, {250, 254, 255, 0, 0, 0}},
    {{205, 206, 216, 0, 0, 0}, {238, 240, 248, 0, 0, 0}, {253, 254, 255, 0, 0, 0}},
};

// The track: fills (1, 1, t - 1, l), then (2, 1, t / divisor, l) in turn.
constexpr struct {
    int divisor;  // 0: the whole track width t - 1 from x = 1
    Pulsed colour;
} Track[] = {
    {0, {228, 228, 228, 1, 1, 1}},
    {2, {248, 248, 248, 0, 0, 0}},
    {4, {228, 228, 228, -1, -1, -1}},
    {8, {252, 253, 255, 0, 0, 0}},
};

void SetColour(CCanvas* canvas, const Pulsed& c, int k)
{
    canvas->SetColourRGB(uint32_t(c.r + k * c.stepR), uint32_t(c.g + k * c.stepG), uint32_t(c.b + k * c.stepB));
}
}  // namespace

CScroller::CScroller(CGApplication* app) : CWindow(app) { className = "CScroller"; }

CScroller::~CScroller()
{
    LeaveRegistry();
    scrollTimer.Clear();
}

void CScroller::HandleEvent(CEvent event)
{
    if (!alive)
        return;
    if (event.source == application)
        HandleOwn(event);
    else
        HandleOther(event);
    CWindow::HandleEvent(event);
}

void CScroller::HandleOwn(CEvent event)
{
    switch (event.type) {
    case EV_SHOW:
        Draw();
        break;
    case EV_CREATE:
        scrollHover = 0;
        pulseUp = 1;
        scrollPressed = 0;
        pulse = 0;
        break;
    case EV_UNFOCUS:
        EndDrag();  // the release will not come back here
        break;
    case EV_LBUTTONDOWN:
        StartDrag();
        break;
    case EV_LBUTTONUP:
        EndDrag();
        HandFocusOn();
        break;
    case EV_MBUTTONDOWN:
    case EV_RBUTTONDOWN:
        HandFocusOn();
        break;
    case EV_WHEEL:
        ScrollRing(this, event.value);
        break;
    case EV_KEYDOWN:
    case EV_CHAR:
        PassFocusWithKey(event);
        break;
    case EV_MOUSEENTER:
        scrollHover = 1;
        Draw();
        break;
    case EV_MOUSELEAVE:
        scrollHover = 0;
        Draw();
        break;
    case EV_HIDE:
    case EV_DESTROY:
        EndDrag();
        break;
    default:
        break;
    }
}

void CScroller::HandleOther(CEvent event)
{
    switch (event.type) {
    case EV_TIMER:
        if (scrollTimer && event.source == scrollTimer.Get())
            OnTimer();
        break;
    case EV_FOCUS:
        // Focus arriving from a neighbour goes straight on to the linked column.
        FocusNext(1);
        break;
    default:
        break;
    }
}

void CScroller::StartDrag()
{
    pulseUp = 1;
    scrollPressed = 1;
    auto timer = new CTimer(GetApplication());
    scrollTimer = timer;
    timer->Create(this);
    timer->SetInterval(DragInterval);
    timer->SetEnabled(1);
    cursorBefore = GetApplication()->GetCursorPosition();
    if (CTextEditRing* linked = Linked())
        dragRow = linked->GetCurrentRow();
    Draw();
}

void CScroller::EndDrag()
{
    bool wasPressed = scrollPressed || scrollTimer;
    scrollTimer.Clear();
    pulse = 0;
    pulseUp = 0;
    scrollPressed = 0;
    if (wasPressed)
        Draw();
}

// One drag step: the row moves by the pointer's movement since the last step, across
// and down added together, and stops at either end.
void CScroller::OnTimer()
{
    pulse += pulseUp ? 1 : -1;
    if (pulse >= PulseLimit)
        pulseUp = 0;
    else if (pulse <= -PulseLimit)
        pulseUp = 1;
    cursorNow = GetApplication()->GetCursorPosition();
    int64_t d = int64_t(cursorNow.x - cursorBefore.x) + int64_t(cursorNow.y - cursorBefore.y);
    cursorBefore = cursorNow;
    CTextEditRing* linked = Linked();
    uint32_t count = linked ? linked->GetLineCount() : 0;
    if (linked && count > 0 && d != 0) {
        int64_t row = std::clamp<int64_t>(int64_t(dragRow) + d, 0, int64_t(count) - 1);
        dragRow = uint32_t(row);
        if (dragRow != linked->GetCurrentRow()) {
            SetCurrentRow(dragRow);
            return;  // the walk has drawn the scroller
        }
    }
    Draw();
}

// A press makes the scroller active; it keeps the focus until the press is over, so
// the press still reaches it and starts the drag, then passes it on.
void CScroller::HandFocusOn()
{
    if (GetApplication()->activeWindow == this)
        FocusNext(1);
}

// A key that reaches the scroller belongs to the component the focus moves on to.
void CScroller::PassFocusWithKey(CEvent event)
{
    if (GetApplication()->activeWindow != this)
        return;
    HandFocusOn();
    CGApplication* app = GetApplication();
    if (app->activeWindow && app->activeWindow != this)
        app->SendEvent(app->activeWindow, event);
}

void CScroller::SetCurrentRow(uint32_t row)
{
    CTextEditRing* linked = Linked();
    bool drawn = false;
    if (linked && linked != this) {
        for (CTextEditRing* member : Members(nextFocus.CheckedAs<CWComponent>())) {
            member->FollowWalk(CurrentRowWalk, row);
            drawn = drawn || member == this;
        }
    }
    if (!drawn)
        Draw();
}

uint32_t CScroller::GetCurrentRow()
{
    CTextEditRing* linked = Linked();
    return linked && linked != this ? linked->GetCurrentRow() : 0;
}

uint32_t CScroller::GetLineCount()
{
    CTextEditRing* linked = Linked();
    return linked && linked != this ? linked->GetLineCount() : 0;
}

// The scroller has no rows: a walk only moves its thumb.
void CScroller::FollowWalk(Walk walk, uint32_t)
{
    if (walk != RowHookWalk)
        Draw();
}

CTextEditRing* CScroller::Linked() const
{
    auto* next = nextFocus.CheckedAs<CWComponent>();
    CTextEditRing* linked = next ? dynamic_cast<CTextEditRing*>(next) : nullptr;
    return linked == this ? nullptr : linked;
}

int CScroller::ThumbTop()
{
    CTextEditRing* linked = Linked();
    if (!linked)
        return 1;
    uint64_t n = linked->GetLineCount();
    if (n <= 1)
        return int(n);
    uint64_t travel = uint64_t(std::max(height - width, 0));
    return int(travel * linked->GetCurrentRow() / (n - 1)) - 1;
}

void CScroller::Draw()
{
    CCanvas* canvas = GetCanvas();
    if (!created || !canvas)
        return;
    int t = std::min(width, height);
    int l = std::max(width, height);
    int k = pulse;
    int y0 = ThumbTop();
    for (const auto& stripe : Track) {
        SetColour(canvas, stripe.colour, k);
        if (stripe.divisor == 0)
            canvas->FillRect(1, 1, t - 1, l);
        else
            canvas->FillRect(2, 1, t / stripe.divisor, l);
    }
    const ThumbLook& look = ThumbLooks[scrollPressed ? Pressed : scrollHover ? Hover : Plain];
    SetColour(canvas, look.outer, k);
    canvas->FillRect(1, y0, t - 1, t);
    SetColour(canvas, look.inner, k);
    canvas->FillRect(2, y0 + 2, t - 4, t - 6);
    SetColour(canvas, look.highlight, k);
    canvas->FillRect(3, y0 + 3, t / 2, t / 4);
    canvas->SetColourRGB(0, 0, 0);
    canvas->Outline(0, 0, t - 1, l - 1);
    canvas->Outline(0, y0, t - 1, t);
    Update();
}
