#pragma once

#include <cstdint>

// The bytes a data column never holds, because a data file cannot carry them: the
// cell separator ";", the line feed that ends a record, and the tab, which line reading
// turns into five spaces. Editors keep them out of typed and pasted text; the saver
// writes a blank for any that got in anyway, so a record can never break.
inline bool IsDataCellByte(char byte) { return byte != ';' && byte != '\n' && byte != '\t'; }

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
