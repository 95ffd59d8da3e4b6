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

std::string ShortLoadText(const std::string& name, uint32_t claimed, uint32_t loaded)
{
    std::string rows = loaded == 1 ? "1 fila" : std::to_string(loaded) + " filas";
    return std::string(LeftQuote) + name + RightQuote + " anuncia " + std::to_string(claimed) +
           " filas pero solo contiene " + rows + ": se ha cargado lo que hay. El archivo est\xE1 incompleto o no " +
           "es un archivo de datos.";
}

std::string CellCutText()
{
    return "Una celda guarda como mucho " + std::to_string(DataCellLongest) +
           " caracteres: se ha cortado lo que sobraba.";
}
