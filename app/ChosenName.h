#pragma once

#include <string>

// Joins a folder and a name with the system's separator ("/"; "\" on Windows), adding
// none when the folder already ends in one (the root).
std::string JoinPath(const std::string& folder, const std::string& name);

// A name confirmed in a chooser, made absolute at once: every chooser moves the current
// directory, so a relative name would later mean another file. Names are the shown
// text (Windows-1252); an absolute name comes back as it is.
std::string AbsoluteChosenName(const std::string& name);

class CFileChooser;

// The name a chooser confirmed, as shown (made absolute) and as the system's file name;
// false when it holds a character the code page cannot show (the name it stood for is
// unknown).
bool ChosenFileName(CFileChooser* chooser, std::string& shown, std::string& system);
