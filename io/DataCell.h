#pragma once

#include <cstdint>

// The bytes a data column never holds, because a data file cannot carry them: the
// cell separator ";", the line feed that ends a record, the tab, which line reading
// turns into five spaces, and the other control bytes but the carriage return, which
// mark a file as no text and so as no data file. Editors keep them out of typed and
// pasted text; the saver writes a blank for any that got in anyway, so a record can
// never break and a saved file always loads.
inline bool IsDataCellByte(char byte)
{
    return byte != ';' && (static_cast<unsigned char>(byte) >= 0x20 || byte == '\r');
}

// The most characters a cell holds: longer typed, pasted or loaded text is cut, so a
// cell stays quick to edit and to draw. A number needs far fewer.
constexpr uint32_t DataCellLongest = 256;

// Replaces each byte a data column cannot hold by a blank, in place; returns how many.
inline uint32_t CleanDataCell(char* text, uint32_t size)
{
    uint32_t replaced = 0;
    for (uint32_t i = 0; i < size; i++) {
        if (!IsDataCellByte(text[i])) {
            text[i] = ' ';
            replaced++;
        }
    }
    return replaced;
}
