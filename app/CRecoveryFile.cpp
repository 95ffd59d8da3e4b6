#include "app/CRecoveryFile.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/CString.h"
#include "core/Variable.h"
#include "io/CDataColumn.h"
#include "io/CFile.h"
#include "io/CReplacingFile.h"
#include "io/DataFile.h"
#include "platform/FileNames.h"

namespace fs = std::filesystem;

namespace {
const char Header[] = "AJUSTOR RECUPERACION 1 ";
const char Prefix[] = "recuperacion-";
const char Suffix[] = ".dat";
// A data path is one the chooser can show; anything longer is no recovery file.
constexpr unsigned long LongestPath = 32768;
// Rows written between two looks at the clock: far less than a millisecond.
constexpr uint32_t RowsPerLook = 1024;

#ifdef _WIN32
constexpr char Separator = '\\';
fs::path FsPath(const std::string& path) { return fs::path(platform::WideFromUtf8(path)); }
std::string Utf8(const fs::path& path) { return platform::Utf8FromWide(path.wstring()); }
#else
constexpr char Separator = '/';
fs::path FsPath(const std::string& path) { return fs::path(path); }
std::string Utf8(const fs::path& path) { return path.string(); }
#endif

// The process a recovery file belongs to, from its name; 0 for any other file.
unsigned long OwnerOf(const std::string& name)
{
    size_t prefix = sizeof Prefix - 1, suffix = sizeof Suffix - 1;
    if (name.size() <= prefix + suffix || name.compare(0, prefix, Prefix) != 0 ||
        name.compare(name.size() - suffix, suffix, Suffix) != 0)
        return 0;
    std::string digits = name.substr(prefix, name.size() - prefix - suffix);
    if (digits.size() > 10 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return std::strtoul(digits.c_str(), nullptr, 10);
}

struct Found {
    unsigned long owner;
    fs::file_time_type written;
};

// Recovery files of other programs, the newest first.
std::vector<Found> OthersIn(const std::string& folder, unsigned long own)
{
    std::vector<Found> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(FsPath(folder), error)) {
        unsigned long owner = OwnerOf(Utf8(entry.path().filename()));
        if (owner != 0 && owner != own)
            found.push_back({owner, entry.last_write_time(error)});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.written > b.written; });
    return found;
}

void RemoveFile(const std::string& path)
{
    std::error_code ignored;
    fs::remove(FsPath(path), ignored);
}
}  // namespace

CRecoveryFile::CRecoveryFile(CApplication* app, const std::string& stateFolder, unsigned long process)
    : application(app), folder(stateFolder), owner(process)
{
}

bool CRecoveryFile::Open()
{
    if (folder.empty())
        return false;
    std::error_code error;
    fs::create_directories(FsPath(folder), error);
    return lock.TryLock(LockOf(owner));
}

// A file of this program's own number is from an earlier process that had it: it is
// taken as it is. Another is taken under its owner's lock, so two programs starting
// at once never both take it, and renamed to this program's name.
bool CRecoveryFile::TakeOver(CDataColumn* const columns[4], std::string& path)
{
    if (!lock.Held())
        return false;
    std::error_code error;
    if (fs::exists(FsPath(FilePath()), error))
        return Read(columns, path);
    for (const Found& other : OthersIn(folder, owner)) {
        platform::PFileLock theirs;
        if (!theirs.TryLock(LockOf(other.owner)))
            continue;  // still running
        fs::rename(FsPath(FileOf(other.owner)), FsPath(FilePath()), error);
        theirs.Unlock();
        RemoveFile(LockOf(other.owner));
        if (!error && Read(columns, path))
            return true;
    }
    return false;
}

bool CRecoveryFile::Write(CDataColumn* const columns[4], const std::string& path)
{
    DropWrite();
    return WriteSlice(columns, path, UINT32_MAX) == Written;
}

CRecoveryFile::Progress CRecoveryFile::WriteSlice(CDataColumn* const columns[4], const std::string& path,
                                                  uint32_t milliseconds)
{
    if (!writing && !BeginWrite(columns, path))
        return Failed;
    auto* file = writing.As<CReplacingFile>();
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    bool complete = true;
    while (complete && rowsWritten < rowsToWrite) {
        uint32_t end = std::min(rowsToWrite, rowsWritten + RowsPerLook);
        complete = WriteDataRecords(file, columns, rowsWritten, end) == 1;
        rowsWritten = end;
        if (milliseconds != UINT32_MAX && std::chrono::steady_clock::now() >= until)
            break;
    }
    if (complete && rowsWritten < rowsToWrite)
        return Going;
    bool written = complete && file->Finish() == 1;
    if (!written)
        file->Abandon();
    writing.Clear();
    return written ? Written : Failed;
}

void CRecoveryFile::DropWrite()
{
    if (auto* file = writing.CheckedAs<CReplacingFile>())
        file->Abandon();
    writing.Clear();
}

// The count is that of the rows now; they must stay as many until the last slice.
bool CRecoveryFile::BeginWrite(CDataColumn* const columns[4], const std::string& path)
{
    if (!lock.Held())
        return false;
    writing = new CReplacingFile(application);
    auto* file = writing.As<CReplacingFile>();
    rowsWritten = 0;
    rowsToWrite = columns[0]->LineCount();
    std::string header = Header + std::to_string(path.size()) + "\n" + path + "\n";
    if (file->Begin(FilePath().c_str()) && file->Write(header.data(), 1, uint32_t(header.size())) == int(header.size()) &&
        WriteDataCount(file, rowsToWrite) == 1)
        return true;
    DropWrite();
    return false;
}

void CRecoveryFile::Remove()
{
    DropWrite();
    if (lock.Held())
        RemoveFile(FilePath());
}

void CRecoveryFile::Close(bool keep)
{
    DropWrite();
    if (!lock.Held())
        return;
    if (!keep)
        RemoveFile(FilePath());
    lock.Unlock();
    RemoveFile(LockOf(owner));
}

std::string CRecoveryFile::FileOf(unsigned long process) const
{
    return folder + Separator + Prefix + std::to_string(process) + Suffix;
}

std::string CRecoveryFile::LockOf(unsigned long process) const
{
    return folder + Separator + Prefix + std::to_string(process) + ".lock";
}

// The header's length is checked before anything is read by it.
bool CRecoveryFile::Read(CDataColumn* const columns[4], std::string& path)
{
    Variable held(new CFile(application));
    auto* file = held.As<CFile>();
    if (!file->OpenRead(FilePath().c_str()))
        return false;
    Variable line(new CString(application));
    auto* header = line.As<CString>();
    if (file->ReadLineInto(header) != 1)
        return false;
    std::string first(header->GetBuffer(), header->GetLength());
    size_t prefix = sizeof Header - 1;
    if (first.compare(0, prefix, Header) != 0 || first.size() == prefix || first.size() > prefix + 5 ||
        first.find_first_not_of("0123456789", prefix) != std::string::npos)
        return false;
    unsigned long length = std::strtoul(first.c_str() + prefix, nullptr, 10);
    if (length > LongestPath)
        return false;
    std::string shown(length + 1, '\0');
    if (file->Read(shown.data(), 1, uint32_t(length + 1)) != int(length + 1) || shown.back() != '\n')
        return false;
    shown.pop_back();
    ReadDataSet(file, columns);
    path = shown;
    return true;
}
