#include "app/CUndoHistory.h"

#include <utility>

namespace {
size_t TextBytes(const std::vector<std::string>& texts)
{
    size_t bytes = texts.capacity() * sizeof(std::string);
    for (const std::string& text : texts)
        if (text.capacity() > std::string().capacity())
            bytes += text.capacity() + 1;
    return bytes;
}
}  // namespace

void CUndoHistory::Record(Change&& change) { open.changes.push_back(std::move(change)); }

void CUndoHistory::RecordPath(const std::string& before, const std::string& after)
{
    if (!open.pathChanged)
        open.pathBefore = before;
    open.pathChanged = true;
    open.pathAfter = after;
}

void CUndoHistory::Seal()
{
    if (open.changes.empty() && !open.pathChanged)
        return;
    open.id = nextId++;
    done.push_back(std::move(open));
    open = Step();
    undone.clear();
    while (done.size() > MostSteps)
        done.pop_front();
}

const CUndoHistory::Step* CUndoHistory::Undo()
{
    Seal();
    if (done.empty())
        return nullptr;
    undone.push_back(std::move(done.back()));
    done.pop_back();
    return &undone.back();
}

const CUndoHistory::Step* CUndoHistory::Redo()
{
    if (!open.changes.empty() || undone.empty())
        return nullptr;
    done.push_back(std::move(undone.back()));
    undone.pop_back();
    return &done.back();
}

void CUndoHistory::MarkSaved()
{
    Seal();
    savedId = LastDone();
}

bool CUndoHistory::AtSaved() const { return open.changes.empty() && LastDone() == savedId; }

size_t CUndoHistory::Bytes() const
{
    size_t bytes = 0;
    for (const auto* steps : {&done, &undone})
        for (const Step& step : *steps) {
            bytes += sizeof(Step) + step.pathBefore.capacity() + step.pathAfter.capacity();
            bytes += step.changes.capacity() * sizeof(Change);
            for (const Change& change : step.changes)
                bytes += TextBytes(change.before) + TextBytes(change.after);
        }
    return bytes;
}
