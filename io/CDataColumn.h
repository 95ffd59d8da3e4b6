#pragma once

#include <cstdint>

class CString;

// The line access a data column offers to the code that reads and writes data sets:
// the data-file procedures and the fits. The main window's
// text editors implement it; CLineColumn is a plain in-memory implementation
// for tests and for tools without windows.
//
// A column always holds at least one line; an emptied column holds one empty line.
//
// What a column holds: any bytes except those that a data file cannot carry — the
// separator ";", the line feed, the tab (ReadLine turns a tab into five spaces) and the
// other control bytes but the carriage return — at most DataCellLongest of them. An
// editor keeps them out when text is typed or pasted (DataCell.h: IsDataCellByte,
// CleanDataCell); the saver replaces any that still get in by a blank, so a record never
// breaks. Everything else, carriage return and bytes above 127 included, comes back
// unchanged from a save and a load.
//
// Not a framework object: a second base for components that hold lines. Columns are
// never deleted through this interface.
class CDataColumn {
public:
    // Number of lines (at least 1).
    virtual uint32_t LineCount() = 0;

    // Line i, or nullptr when the column has no line i. Borrowed: the column keeps the
    // string; it stays valid until the next call on this column. The caller takes no
    // reference and does not change it. (An editor hands out the row being edited with
    // its current, unconfirmed text.)
    virtual CString* LineAt(uint32_t i) = 0;

    // Appends a copy of size bytes at text as the new last line.
    virtual void AddLine(const char* text, uint32_t size) = 0;

    // Empties the column: afterwards it holds one empty line.
    virtual void MakeEmpty() = 0;

    // Deletes line 0 when the column holds two or more lines; otherwise does nothing.
    // Acts on this column alone (an editor does not pass it along its ring).
    virtual void DeleteFirstLine() = 0;

protected:
    ~CDataColumn() = default;
};
