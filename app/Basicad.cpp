#include "app/Basicad.h"

Basicad::Basicad(CGApplication* app)
    : CResultWindow(app, Look{"Ajuste Simple", Width, Height, 272, FitKind::Simple})
{
    className = "Basicad";
}

Basicad::~Basicad() { LeaveRegistry(); }
