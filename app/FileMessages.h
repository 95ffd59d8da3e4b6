#pragma once

#include <cstdint>
#include <string>

#include "io/CDataFileReader.h"

// The short Spanish messages the windows show when a file cannot be saved, loaded or
// written; texts are Windows-1252, names as the windows show them.

// The system's reason for an error number, e.g. "Permiso denegado".
std::string ReasonText(int error);

// "No se pudo <action> «<name>»: <reason>", e.g. action "guardar".
std::string FailureText(const char* action, const std::string& name, int error);

// The same with a reason of its own instead of an error number.
std::string FailureText(const char* action, const std::string& name, const char* reason);

// For a name holding a character the code page cannot show: the system's name is
// unknown, so nothing is read or written under it.
extern const char* const UnshowableNameReason;

// Rows a program that ended without saving them left, shown again at the next start.
std::string RecoveredText(const std::string& name, uint32_t rows);

// A load that found fewer records than the file's count claims.
std::string ShortLoadText(const std::string& name, uint32_t claimed, uint32_t loaded);

// Text typed, pasted or loaded into a cell beyond the most a cell holds.

// Why a load was refused: the file could not be read, or is no data file.
std::string LoadFaultText(const std::string& name, const CDataFileReader::Outcome& outcome);

// What a load that succeeded must tell: a count other than the records, cells cut.
// Empty when there is nothing to tell.
std::string LoadNoteText(const std::string& name, const CDataFileReader::Outcome& outcome);

// Shown while a large file loads.
std::string LoadingText(const std::string& name);

// "¿Reemplazar «name»?", asked before a save writes over a file.
std::string ReplaceQuestionText(const std::string& name);
