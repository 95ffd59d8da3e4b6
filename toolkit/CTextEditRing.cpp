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
