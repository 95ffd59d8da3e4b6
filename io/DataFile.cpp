#include "io/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/DataCell.h"
#include "io/PathText.h"

namespace {
constexpr int TemporaryNameAttempts = 100;

void AppendCell(std::string& record, CString* line)
{
    if (!line)
        return;  // a column shorter than the first gives an empty cell
    size_t start = record.size();
    record.append(line->GetBuffer(), line->GetLength());
    CleanDataCell(record.data() + start, line->GetLength());
}

// The file that a save replaces: a link is followed, so the data lands where it
// points and the link stays a link.
std::string TargetOf(const char* path)
{
    struct stat info {};
    if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = realpath(path, nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

std::string DirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens a new file beside the target, in the same file system so the final rename is
// atomic; the leading dot marks it as nobody's data file.
bool OpenTemporary(CFile* file, const std::string& target, std::string& name)
{
    std::string directory = DirectoryOf(target);
    std::string base = target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
    base.resize(std::min<size_t>(base.size(), 200));  // room for the suffix within a name's limit
    auto seed = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < TemporaryNameAttempts; attempt++) {
        name = directory + "/." + base + "." + std::to_string(getpid()) + "-" +
               std::to_string((seed + attempt * 7919UL) % 1000000UL) + ".tmp";
        if (file->OpenNew(name.c_str()))
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// The replaced file's permissions carry over to the new one.
void KeepMode(const std::string& target, const std::string& temporary)
{
    struct stat info {};
    if (stat(target.c_str(), &info) == 0)
        chmod(temporary.c_str(), info.st_mode & 07777);
}

void SyncDirectory(const std::string& target)
{
    int fd = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

uint32_t ReadCount(CIO* in)
{
    unsigned char bytes[4] = {};
    if (in->Read(bytes, 4, 1) != 1)
        return 0;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

// Appends the first four ";"-separated fields of the record to the columns; missing
// fields are empty, later ones ignored.
void AddRecord(CString* record, CDataColumn* const columns[DataColumnCount])
{
    const char* text = record->GetBuffer();
    uint32_t size = record->GetLength();
    uint32_t start = 0;
    for (int k = 0; k < DataColumnCount; k++) {
        if (start > size) {
            columns[k]->AddLine("", 0);
            continue;
        }
        auto found = static_cast<const char*>(std::memchr(text + start, ';', size - start));
        uint32_t end = found ? static_cast<uint32_t>(found - text) : size;
        columns[k]->AddLine(text + start, end - start);
        start = end + 1;
    }
}
}  // namespace

int WriteDataSet(CIO* out, CDataColumn* const columns[DataColumnCount])
{
    uint32_t rows = columns[0]->LineCount();
    unsigned char count[4] = {static_cast<unsigned char>(rows), static_cast<unsigned char>(rows >> 8),
                              static_cast<unsigned char>(rows >> 16), static_cast<unsigned char>(rows >> 24)};
    bool complete = out->Write(count, 4, 1) == 1;
    std::string record;
    for (uint32_t i = 0; i < rows; i++) {
        record.clear();
        for (int k = 0; k < DataColumnCount; k++) {
            AppendCell(record, columns[k]->LineAt(i));
            record += ';';
        }
        record += '\n';
        auto size = static_cast<uint32_t>(record.size());
        complete = out->Write(record.data(), 1, size) == static_cast<int>(size) && complete;
    }
    return complete ? 1 : 0;
}

void ReadDataSet(CIO* in, CDataColumn* const columns[DataColumnCount])
{
    for (int k = 0; k < DataColumnCount; k++)
        columns[k]->MakeEmpty();
    uint32_t rows = ReadCount(in);
    auto record = new CString(in->application);
    Variable hold(record);
    record->Reserve(128);
    for (uint32_t i = 0; i < rows; i++) {
        int complete = in->ReadLineInto(record);
        // A last record without its line feed is kept: it is the user's data.
        if (!complete && record->GetLength() == 0)
            break;
        AddRecord(record, columns);
        if (!complete)
            break;
    }
    for (int k = 0; k < DataColumnCount; k++)
        columns[k]->DeleteFirstLine();
}

int SaveDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount])
{
    if (!path || !*path)
        return 0;
    std::string target = TargetOf(path);
    // A file the user may not write stays as it is, though its folder would let a
    // rename replace it.
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0)
        return 0;
    std::string temporary;
    auto file = new CFile(app);
    Variable hold(file);
    if (!OpenTemporary(file, target, temporary))
        return 0;
    KeepMode(target, temporary);
    bool written = WriteDataSet(file, columns) == 1;
    bool committed = file->Commit() == 1;
    if (!written || !committed || std::rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return 0;
    }
    SyncDirectory(target);
    return 1;
}

int SaveDataFile(CString* path, CDataColumn* const columns[DataColumnCount])
{
    Variable hold;
    hold = path;
    const char* text = PathText(path);
    return text ? SaveDataFile(path->application, text, columns) : 0;
}

int LoadDataFile(CApplication* app, const char* path, CDataColumn* const columns[DataColumnCount])
{
    auto file = new CFile(app);
    Variable hold(file);
    if (!file->OpenRead(path))
        return 0;
    ReadDataSet(file, columns);
    return 1;
}

int LoadDataFile(CString* path, CDataColumn* const columns[DataColumnCount])
{
    Variable hold;
    hold = path;
    const char* text = PathText(path);
    return text ? LoadDataFile(path->application, text, columns) : 0;
}
