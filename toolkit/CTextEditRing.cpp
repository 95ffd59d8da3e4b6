#include "toolkit/CTextEditRing.h"

#include <algorithm>

#include "core/CObjectList.h"
#include "toolkit/CGApplication.h"
#include "toolkit/CWComponent.h"

void CTextEditRing::WalkRing(CWComponent* start, Walk walk, uint32_t row)
{
    for (CTextEditRing* member : Members(start))
        member->FollowWalk(walk, row);
}

void CTextEditRing::ScrollRing(CWComponent* start, int32_t rows)
{
    std::vector<CTextEditRing*> members = Members(start);
    if (members.empty() || rows == 0)
        return;
    CTextEditRing* lead = members.front();
    int64_t count = lead->GetLineCount();
    int64_t current = lead->GetCurrentRow();
    int64_t row = std::clamp<int64_t>(current + rows, 0, std::max<int64_t>(count - 1, 0));
    if (row == current)
        return;
    for (CTextEditRing* member : members)
        member->ShiftView(rows);
    WalkRing(start, CurrentRowWalk, uint32_t(row));
}

std::vector<CTextEditRing*> CTextEditRing::Members(CWComponent* start)
{
    std::vector<CTextEditRing*> members;
    if (!start)
        return members;
    // Links may loop without coming back to the start, through members or not: a walk
    // ends at the first member met twice and takes no more steps than there are windows.
    CGApplication* app = start->GetApplication();
    uint32_t steps = app && app->windows ? app->windows->count + 1 : 1;
    for (CWComponent* at = start; at && steps > 0; steps--) {
        if (auto* member = dynamic_cast<CTextEditRing*>(at)) {
            if (std::find(members.begin(), members.end(), member) != members.end())
                break;
            members.push_back(member);
        }
        at = at->nextFocus.CheckedAs<CWComponent>();
        if (at == start)
            break;
    }
    return members;
}
