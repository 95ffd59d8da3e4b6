#pragma once

#include <cstdint>

class CObject;

// Event codes. Code 3 is free. EV_WHEELUP and EV_WHEELDOWN are no longer sent: the
// wheel comes as EV_WHEEL to the window under the pointer, which needs no focus for it.
enum : int32_t {
    EV_NONE = 0,
    EV_SHOW = 1,
    EV_RESIZE = 2,
    EV_PAINT = 4,
    EV_HIDE = 5,
    EV_CREATE = 6,
    EV_DESTROY = 7,
    EV_FOCUS = 8,
    EV_UNFOCUS = 9,
    EV_LBUTTONDOWN = 10,
    EV_LBUTTONUP = 11,
    EV_CLICK = 12,
    EV_MBUTTONDOWN = 13,
    EV_MBUTTONUP = 14,
    EV_RBUTTONDOWN = 15,
    EV_RBUTTONUP = 16,
    EV_WHEELUP = 17,
    EV_WHEELDOWN = 18,
    EV_KEYDOWN = 19,
    EV_KEYUP = 20,
    EV_CHAR = 21,
    EV_MOUSEMOVE = 22,
    EV_MOUSEENTER = 23,
    EV_MOUSELEAVE = 24,
    EV_TIMER = 25,
    EV_CLOSE = 26,
    EV_RESULT = 27,
    // The wheel turned over a window: `value` rows to scroll, positive towards the end
    // (three a notch); `x`, `y` the pointer on the screen. Bubbles up like any event.
    EV_WHEEL = 28,
    // A widget has something to tell the person (`value`: a Notice, toolkit/Notice.h).
    // Bubbles up like any event to the window that shows messages.
    EV_NOTICE = 29,
};

// The event record, passed and copied by value. It doubles as a point or rectangle
// (type 0 with x, y and width, height). Fields an event type does not name are
// undefined. `source` is the sender: the application for what the loop sends, the
// forwarding child for what a child passes up; it is pointer-sized so that it holds
// an address on a 64-bit machine.
struct CEvent {
    int32_t type = EV_NONE;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t key = 0;
    int32_t value = 0;
    CObject* source = nullptr;
};
