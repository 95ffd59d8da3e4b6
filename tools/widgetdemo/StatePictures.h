#pragma once

#include <string>

namespace platform {
class PHeadlessSystem;
}
class CGApplication;

// Draws every widget of the gallery in every state on the in-memory desktop and writes
// the pictures as PNG files into `folder`; 1 when all were written.
int WriteStatePictures(CGApplication* app, platform::PHeadlessSystem& desktop, const std::string& folder,
                       const std::string& pictureFolder);

// Writes what the desktop shows of a window (0: all of it) as PNG or BMP, by the name.
int SaveDesktopPicture(platform::PHeadlessSystem& desktop, unsigned long window, const std::string& path);
