// Ajustor on the Windows desktop. A graphical program (linked with -mwindows): no
// console window opens beside it; main() is its entry point as on Linux.
#include <memory>

#include "app/AjustorProgram.h"
#include "platform/win32/PWin32System.h"

int main()
{
    std::unique_ptr<platform::PWin32System> desktop = platform::OpenWin32OrExit();
    platform::InstallWindowSystem(desktop.get());
    int status = RunAjustor();
    platform::InstallWindowSystem(nullptr);
    return status;
}
