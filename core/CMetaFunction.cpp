#include "core/CMetaFunction.h"

CMetaFunction::CMetaFunction(CApplication* app) : CComponent(app) { className = "CMetaFunction"; }

CMetaFunction::~CMetaFunction()
{
    LeaveRegistry();
    second.Clear();
    first.Clear();
}
