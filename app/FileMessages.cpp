#include "app/FileMessages.h"

#include <cerrno>

#include "io/DataCell.h"

namespace {
struct Reason {
    int error;
    const char* text;
};

// Windows-1252: \xE1 á, \xE9 é, \xED í, \xF3 ó, \xFA ú, \xF1 ñ.
const Reason Reasons[] = {
    {EACCES, "Permiso denegado"},
    {EPERM, "Operaci\xF3n no permitida"},
    {ENOENT, "No existe el archivo o el directorio"},
    {ENOSPC, "No queda espacio en el dispositivo"},
#ifdef EDQUOT  // not in Windows' C library
    {EDQUOT, "Se ha superado la cuota de disco"},
#endif
    {EFBIG, "El archivo es demasiado grande"},
    {EROFS, "Sistema de archivos de solo lectura"},
    {EISDIR, "Es un directorio"},
    {ENOTDIR, "No es un directorio"},
    {ENAMETOOLONG, "El nombre del archivo es demasiado largo"},
    {ELOOP, "Demasiados niveles de enlaces simb\xF3licos"},
    {EIO, "Error de entrada/salida"},
    {EBUSY, "Dispositivo o recurso ocupado"},
    {ETXTBSY, "Archivo de texto ocupado"},
    {EMFILE, "Demasiados archivos abiertos"},
    {ENFILE, "Demasiados archivos abiertos en el sistema"},
    {ENOMEM, "No hay memoria suficiente"},
    {EINVAL, "El nombre no es v\xE1lido"},
    {ENXIO, "No existe el dispositivo o la direcci\xF3n"},
    {ENODEV, "No existe el dispositivo"},
    {EEXIST, "El archivo ya existe"},
};

const char LeftQuote[] = "\xAB";
const char RightQuote[] = "\xBB";
}  // namespace

const char* const UnshowableNameReason = "el nombre tiene caracteres que no se pueden representar";

std::string ReasonText(int error)
{
    for (const Reason& reason : Reasons)
        if (reason.error == error)
            return reason.text;
    return "Error del sistema " + std::to_string(error);
}

std::string FailureText(const char* action, const std::string& name, const char* reason)
{
    return std::string("No se pudo ") + action + " " + LeftQuote + name + RightQuote + ": " + reason;
}

std::string FailureText(const char* action, const std::string& name, int error)
{
    return FailureText(action, name, ReasonText(error).c_str());
}

std::string RecoveredText(const std::string& name, uint32_t rows)
{
    std::string count = rows == 1 ? "1 fila" : std::to_string(rows) + " filas";
    std::string from = name.empty() ? "" : " de " + std::string(LeftQuote) + name + RightQuote;
    return "Se han recuperado " + count + " que no se hab\xED" "an guardado" + from +
           " al terminar el programa la \xFAltima vez.";
}

std::string ShortLoadText(const std::string& name, uint32_t claimed, uint32_t loaded)
{
    std::string rows = loaded == 1 ? "1 fila" : std::to_string(loaded) + " filas";
    return std::string(LeftQuote) + name + RightQuote + " anuncia " + std::to_string(claimed) +
           " filas pero solo contiene " + rows + ": se ha cargado lo que hay. El archivo est\xE1 incompleto o no " +
           "es un archivo de datos.";
}

namespace {
std::string Rows(uint32_t n) { return n == 1 ? "1 fila" : std::to_string(n) + " filas"; }

std::string NoDataFile(const std::string& name, const std::string& why)
{
    return FailureText("cargar", name, ("no es un archivo de datos: " + why).c_str());
}
}  // namespace

std::string LoadFaultText(const std::string& name, const CDataFileReader::Outcome& outcome)
{
    std::string row = "la fila " + std::to_string(outcome.record);
    switch (outcome.fault) {
    case CDataFileReader::CannotOpen:
    case CDataFileReader::ReadError:
        return FailureText("cargar", name, outcome.error);
    case CDataFileReader::NoMemory:
        return FailureText("cargar", name, ENOMEM);
    case CDataFileReader::NoCount:
        return NoDataFile(name, "le falta la cuenta de filas");
    case CDataFileReader::CountBeyondSize:
        return NoDataFile(name, "anuncia " + Rows(outcome.claimed) + " y solo tiene " +
                                    std::to_string(outcome.size) + " bytes");
    case CDataFileReader::BadRecord:
        return NoDataFile(name, row + " no son cuatro campos terminados en ;");
    case CDataFileReader::NotText:
        return NoDataFile(name, row + " tiene bytes que no son texto");
    case CDataFileReader::LongRecord:
        return NoDataFile(name, row + " tiene m\xE1s de " + std::to_string(DataFileLongestRecord) + " bytes");
    case CDataFileReader::NoFault:
        break;
    }
    return {};
}

std::string LoadNoteText(const std::string& name, const CDataFileReader::Outcome& outcome)
{
    std::string note;
    if (outcome.loaded < outcome.claimed)
        note = ShortLoadText(name, outcome.claimed, outcome.loaded);
    else if (outcome.loaded > outcome.claimed)
        note = std::string(LeftQuote) + name + RightQuote + " anuncia " + Rows(outcome.claimed) +
               " pero contiene " + Rows(outcome.loaded) + ": se han cargado todas.";
    if (outcome.cutCells > 0) {
        if (note.empty())
            note = std::string(LeftQuote) + name + RightQuote + ":";
        // Appended piece by piece: MinGW's GCC 12 sees a false overlap in " " + string.
        note += ' ';
        note += outcome.cutCells == 1 ? std::string("1 celda ten\xED" "a")
                                      : std::to_string(outcome.cutCells) + " celdas ten\xED" "an";
        note += " m\xE1s de " + std::to_string(DataCellLongest) + " caracteres y se han cortado.";
    }
    return note;
}

std::string LoadingText(const std::string& name)
{
    return "Cargando " + std::string(LeftQuote) + name + RightQuote + " ...";
}

std::string ReplaceQuestionText(const std::string& name)
{
    return "\xBFReemplazar " + std::string(LeftQuote) + name + RightQuote + "?";
}
