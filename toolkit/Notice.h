#pragma once

#include <cstdint>

// What a widget may have to tell the person, sent up as EV_NOTICE; the window that
// shows messages shows NoticeText.
enum Notice : int32_t {
    NoticeNone = 0,
    NoticePasteFailed = 1,  // the clipboard held text that could not be read
};

inline const char* NoticeText(int32_t notice)
{
    switch (notice) {
    case NoticePasteFailed:
        return "No se pudo pegar el portapapeles";
    default:
        return "";
    }
}
