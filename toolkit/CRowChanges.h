#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CList;
class CTextEdit;

// What a text column tells its owner about the changes it makes to its rows — a
// confirmed cell, rows added or deleted, a pasted block, the rows replaced whole — so
// that the owner can keep a history of them and take them back; and the keys that ask
// for that. Changes the owner makes itself through ReplaceRows and SetLines without
// report are not told.
class CRowChanges {
public:
    // Rows [row, row + before.size()) of `column` became the rows `after`.
    virtual void RowsChanged(CTextEdit* column, uint32_t row, std::vector<std::string>&& before,
                             std::vector<std::string>&& after) = 0;
    // The column's whole list of rows was replaced: `before` is the list it had, moved
    // out rather than copied, `after` the one it holds now.
    virtual void ListChanged(CTextEdit* column, CList* before, CList* after) = 0;
    // Control+Z in a cell (forth false); Control+Y or Control+Shift+Z (forth true).
    virtual void HistoryKey(bool forth) = 0;

protected:
    ~CRowChanges() = default;
};
