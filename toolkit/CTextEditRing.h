#pragma once

#include <cstdint>
#include <vector>

class CWComponent;

// A member of a ring of row components joined by their `nextFocus` links: text columns
// and their scroller. The current row, a new row and a deleted row apply to every
// member, so parallel columns stay aligned. A walk visits each member once, whoever
// starts it, and passes through links that are no members.
class CTextEditRing {
public:
    enum Walk { CurrentRowWalk, RowHookWalk, DeleteRowWalk };

    virtual void SetCurrentRow(uint32_t row) = 0;
    virtual void RowHook(uint32_t) {}
    virtual void DeleteRow(uint32_t row) = 0;
    virtual uint32_t GetCurrentRow() = 0;
    virtual uint32_t GetLineCount() = 0;
    // This member's own part of a walk; it never walks the ring itself.
    virtual void FollowWalk(Walk walk, uint32_t row) = 0;
    // Moves this member's view by `rows`, within its rows; members without a view of
    // their own do nothing.
    virtual void ShiftView(int32_t) {}

    static void WalkRing(CWComponent* start, Walk walk, uint32_t row);
    // The wheel: the views and the current row of the ring move by `rows` together,
    // stopping at the first and the last row.
    static void ScrollRing(CWComponent* start, int32_t rows);
    // The members met from `start` along `nextFocus`, each once, in ring order.
    static std::vector<CTextEditRing*> Members(CWComponent* start);

protected:
    ~CTextEditRing() = default;
};
