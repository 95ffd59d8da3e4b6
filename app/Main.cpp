// Ajustor: fits y = A·x + B to measured data by least squares, on the X display.
#include <memory>

#include "app/AjustorProgram.h"
#include "platform/x11/PX11System.h"

int main()
{
    std::unique_ptr<platform::PX11System> display = platform::OpenX11OrExit();
    platform::InstallWindowSystem(display.get());
    int status = RunAjustor();
    platform::InstallWindowSystem(nullptr);
    return status;
}
