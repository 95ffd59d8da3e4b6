#pragma once

#include <cstdint>
#include <string>

#include "io/DataCell.h"

// What a widget may have to tell the person, sent up as EV_NOTICE; the window that
// shows messages shows NoticeText.
enum Notice : int32_t {
    NoticeNone = 0,
    NoticePasteFailed = 1,  // the clipboard held text that could not be read
    NoticeCellCut = 2,      // text given to a cell was longer than a cell holds, and cut
};

inline std::string NoticeText(int32_t notice)
{
    switch (notice) {
    case NoticePasteFailed:
        return "No se pudo pegar el portapapeles";
    case NoticeCellCut:
        return "Una celda guarda como mucho " + std::to_string(DataCellLongest) +
               " caracteres: se ha cortado lo que sobraba.";
    default:
        return "";
    }
}
