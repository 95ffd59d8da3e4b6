#include "html/CHTML.h"

CHTML::CHTML(CApplication* app) : CComponent(app) { className = "CHTML"; }

CHTML::~CHTML() { LeaveRegistry(); }

void CHTML::WriteTo(CIO*) {}
