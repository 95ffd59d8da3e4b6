#include "app/ChosenName.h"

#ifdef _WIN32
#include <direct.h>

#include "platform/FileNames.h"
#else
#include <unistd.h>
#endif

#include <cstdlib>

#include "core/CString.h"
#include "platform/PCodePage.h"
#include "toolkit/CFileChooser.h"

namespace {
#ifdef _WIN32
constexpr char Separator = '\\';

// "C:\...", "C:/...", "\\server\..." and "\..." (the root of the current drive) name no
// folder to join to.
bool IsAbsolute(const std::string& name)
{
    if (!name.empty() && (name[0] == '\\' || name[0] == '/'))
        return true;
    return name.size() >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/');
}

// The current directory in UTF-8, as every file name inside the program.
bool CurrentDirectory(std::string& folder)
{
    wchar_t* here = _wgetcwd(nullptr, 0);
    if (!here)
        return false;
    folder = platform::Utf8FromWide(here);
    std::free(here);
    return true;
}
#else
constexpr char Separator = '/';

bool IsAbsolute(const std::string& name) { return !name.empty() && name[0] == '/'; }

bool CurrentDirectory(std::string& folder)
{
    char* here = getcwd(nullptr, 0);
    if (!here)
        return false;
    folder = here;
    std::free(here);
    return true;
}
#endif
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == Separator))
        return folder + name;
    return folder + Separator + name;
}

std::string AbsoluteChosenName(const std::string& name)
{
    if (IsAbsolute(name))
        return name;
    std::string here;
    if (!CurrentDirectory(here))
        return name;  // a current directory that is gone: nothing better to join to
    return JoinPath(platform::TextFromFileName(here), name);
}

bool ChosenFileName(CFileChooser* chooser, std::string& shown, std::string& system)
{
    Variable chosen(chooser->GetChosenName());
    auto* text = chosen.As<CString>();
    shown = AbsoluteChosenName(text ? std::string(text->GetBuffer(), text->GetLength()) : std::string());
    return platform::FileNameFromText(shown, system);
}
