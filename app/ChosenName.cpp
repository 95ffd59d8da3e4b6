#include "app/ChosenName.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/PCodePage.h"

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string AbsoluteChosenName(const std::string& name)
{
    if (!name.empty() && name[0] == '/')
        return name;
    char* here = getcwd(nullptr, 0);
    if (!here)
        return name;  // a current directory that is gone: nothing better to join to
    std::string folder = platform::TextFromFileName(here);
    std::free(here);
    return JoinPath(folder, name);
}
