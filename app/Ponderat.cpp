#include "app/Ponderat.h"

Ponderat::Ponderat(CGApplication* app)
    : CResultWindow(app, Look{"Ajuste Ponderado", Width, Height, 372, FitKind::Weighted})
{
    className = "Ponderat";
}

Ponderat::~Ponderat() { LeaveRegistry(); }
