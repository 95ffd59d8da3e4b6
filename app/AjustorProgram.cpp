#include "app/AjustorProgram.h"

#include <unistd.h>

#include <climits>

#include "app/CMainw.h"
#include "io/CFileNavigator.h"
#include "toolkit/CGApplication.h"

namespace {
// A picture every installation has, to tell the folder.
constexpr const char* Landmark = "/perla_gris_Boto.cel";

bool Readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }
}  // namespace

std::string FindPictureFolder()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return ".";
    std::string exe(self, size_t(n));
    size_t slash = exe.rfind('/');
    std::string beside(slash == 0 ? std::string("/") : exe.substr(0, slash));
    std::string installed = beside + "/../share/ajustor";
    if (!Readable(beside + Landmark) && Readable(installed + Landmark))
        return installed;
    return beside;
}

void PrepareAjustor()
{
    CApplication::Title(AjustorTitle);
    SetValidationMode(TrustRegistered);
}

Variable OpenMainWindow(CGApplication* app, const std::string& pictureFolder)
{
    Variable window(new CMainw(app, pictureFolder));
    auto* main = window.As<CMainw>();
    CEvent desktop = app->GetDesktopSize();
    main->Create((desktop.x - CMainw::Width) >> 1, (desktop.y - CMainw::Height) >> 1, CMainw::Width, CMainw::Height,
                 nullptr, nullptr, 252, 242, 202);
    main->Show();
    // The pictures were read from their own folder; data files live in "Dades".
    Variable navigator(new CFileNavigator(app));
    navigator.As<CFileNavigator>()->ChangeDirectory("Dades");
    return window;
}

int RunAjustor()
{
    PrepareAjustor();
    auto* app = new CGApplication();
    if (!app->Initialise()) {
        delete app;
        return 1;
    }
    Variable window = OpenMainWindow(app, FindPictureFolder());
    app->Run();
    window.Clear();
    app->Cleanup();
    delete app;
    return 0;
}
