#pragma once

#include <string>

#include "core/Variable.h"

class CGApplication;

// The program's start and end, shared by the executable and the tests, which run it on
// the in-memory desktop.

// The title every window without one of its own shows.
inline constexpr const char AjustorTitle[] = "Ajustor-2  (Beta 3)";

// The folder of the program's pictures: beside the executable, or where an
// installation puts them (../share/ajustor from the executable's folder).
std::string FindPictureFolder();

// Sets the application title and the object model's validation mode.
void PrepareAjustor();

// Creates the main window centred on the desktop with its pictures from
// `pictureFolder`, shows it and moves the process into the data folder "Dades" when
// the current directory holds one. With a `stateFolder`, the data set is kept in a
// recovery file there, and one left by an earlier run is taken over. The Variable
// holds the window.
Variable OpenMainWindow(CGApplication* app, const std::string& pictureFolder, const std::string& stateFolder = {});

// The whole program on the installed window system: 0 when the main window is closed,
// 1 when there is no window system.
int RunAjustor();
