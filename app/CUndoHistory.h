#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/Variable.h"

// The history of a data set's changes, for undo and redo. A step is what one action
// changed: rows of a column replaced by others (the old and the new texts of those
// rows only), or a column's whole list of rows exchanged for another (both lists held,
// never copied). Its memory therefore grows with the changes, not with the data set.
class CUndoHistory {
public:
    // Steps kept; the oldest goes first.
    static constexpr size_t MostSteps = 100;

    struct Change {
        int column = 0;
        uint32_t row = 0;
        std::vector<std::string> before;
        std::vector<std::string> after;
        // A whole list exchanged: then `row`, `before` and `after` are not used.
        Variable beforeList;
        Variable afterList;
        bool Whole() const { return beforeList.Get() != nullptr; }
    };

    struct Step {
        std::vector<Change> changes;
        uint64_t id = 0;
        // The data path that went with the rows, when the step changed it.
        bool pathChanged = false;
        std::string pathBefore;
        std::string pathAfter;
    };

    // Joins the step being gathered.
    void Record(Change&& change);
    void RecordPath(const std::string& before, const std::string& after);
    // Ends the step being gathered (nothing when it is empty). Steps undone before it
    // can no longer be redone.
    void Seal();
    // The last step done, moved to those that can be redone: its changes are taken
    // back last to first, each to `before`. Null when there is none.
    const Step* Undo();
    // The step undone last, moved back: its changes apply first to last, each to
    // `after`. Null when there is none.
    const Step* Redo();
    bool CanUndo() const { return !done.empty() || !open.changes.empty(); }
    bool CanRedo() const { return !undone.empty(); }

    // The data set as it stands is the one saved; AtSaved tells whether it still is.
    void MarkSaved();
    bool AtSaved() const;

    // Bytes held by the steps, beside the whole lists they keep (which are moved, not
    // copied, out of the columns).
    size_t Bytes() const;

private:
    uint64_t LastDone() const { return done.empty() ? 0 : done.back().id; }

    std::deque<Step> done;
    std::deque<Step> undone;
    Step open;
    uint64_t nextId = 1;
    uint64_t savedId = 0;  // the last step done when saved; 0 before any step
};
