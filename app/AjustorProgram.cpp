#include "app/AjustorProgram.h"

#include "app/CMainw.h"
#include "io/CFileNavigator.h"
#include "platform/EndSignals.h"
#include "platform/FileNames.h"
#include "toolkit/CGApplication.h"

namespace {
// A picture every installation has, to tell the folder.
constexpr const char* Landmark = "/perla_gris_Boto.cel";

bool Readable(const std::string& path) { return platform::IsReadable(path.c_str()); }
}  // namespace

std::string FindPictureFolder()
{
    std::string beside = platform::ExecutableFolder();
    if (beside.empty())
        return ".";
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

Variable OpenMainWindow(CGApplication* app, const std::string& pictureFolder, const std::string& stateFolder)
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
    if (!stateFolder.empty())
        main->KeepRecovery(stateFolder);
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
    // A log-out or shutdown ends the loop as the close button does.
    platform::CatchEndSignals();
    Variable window = OpenMainWindow(app, FindPictureFolder(), platform::StateFolder());
    app->SetSessionEnd([&window] { window.As<CMainw>()->EndRecovery(); });
    app->Run();
    window.As<CMainw>()->EndRecovery();
    window.Clear();
    app->Cleanup();
    delete app;
    return 0;
}
