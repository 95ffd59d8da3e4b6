// CReplacingFile on Windows: a new file beside the target, made with CREATE_NEW,
// forced to the disk with FlushFileBuffers and moved over the target with MoveFileExW
// (a plain rename does not replace an existing file here).
#include <process.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>

#include "io/CReplacingFile.h"
#include "io/WindowsFiles.h"
#include "platform/FileNames.h"

namespace {
constexpr int TemporaryNameAttempts = 100;
// Another program (a virus scanner, an indexer) may hold the target for a moment.
constexpr int MoveAttempts = 5;
constexpr DWORD MoveRetryMilliseconds = 40;
// Attributes the replacing file takes over, so a hidden document stays hidden.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                 FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the folder part of a path ends: after its last separator, or after the "C:"
// of a name relative to a drive's current folder; 0 for a bare name.
size_t NameStart(const std::string& path)
{
    for (size_t i = path.size(); i > 0; i--)
        if (IsSeparator(path[i - 1]))
            return i;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

// The file a link points to, so the bytes land there and the link stays a link.
std::string TargetOf(const std::string& path, DWORD attributes)
{
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    HANDLE file = CreateFileW(platform::WideFromUtf8(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return path;
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()), FILE_NAME_NORMALIZED);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()), FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    if (length == 0 || length >= final.size())
        return path;
    final.resize(length);
    return platform::Utf8FromWide(final);
}

// Consoles, pipes and devices ("NUL", "CON", "\\.\pipe\...") are written in place.
bool IsDiskFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;  // not to be probed: the new file beside it will say what fails
    bool disk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return disk;
}

bool IsRunning(unsigned long process)
{
    HANDLE other = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(process));
    if (!other)
        return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, and alive
    DWORD code = 0;
    bool running = GetExitCodeProcess(other, &code) && code == STILL_ACTIVE;
    CloseHandle(other);
    return running;
}

bool MoveOver(const std::wstring& from, const std::wstring& to)
{
    for (int attempt = 1;; attempt++) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if (attempt == MoveAttempts || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            errno = ErrnoFromWindowsError(error);
            return false;
        }
        Sleep(MoveRetryMilliseconds);
    }
}
}  // namespace

CReplacingFile::CReplacingFile(CApplication* app) : CFile(app) { className = "CReplacingFile"; }

CReplacingFile::~CReplacingFile()
{
    LeaveRegistry();
    Abandon();
}

int CReplacingFile::Begin(const char* path)
{
    Abandon();
    if (!path || !*path)
        return 0;
    std::wstring wide = platform::WideFromUtf8(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        return 0;
    }
    if (!IsDiskFile(wide)) {
        target = path;
        return OpenWrite(path);
    }
    // A read-only file stays as it is, though its folder would let a move replace it.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return 0;
    }
    target = exists ? TargetOf(path, attributes) : std::string(path);
    return BeginBeside();
}

int CReplacingFile::Finish()
{
    bool written = Commit() == 1;
    if (temporary.empty())
        return written ? 1 : 0;
    if (!written || !MoveOver(platform::WideFromUtf8(temporary), platform::WideFromUtf8(target))) {
        Abandon();
        return 0;
    }
    temporary.clear();
    return 1;
}

// Keeps errno: the caller still wants the reason of the failure that led here.
void CReplacingFile::Abandon()
{
    int reason = errno;
    Close();
    if (!temporary.empty())
        DeleteFileW(platform::WideFromUtf8(temporary).c_str());
    temporary.clear();
    errno = reason;
}

// Opens a new file beside the target, on the same volume so the final move is a
// rename; the leading dot marks it as nobody's document.
int CReplacingFile::BeginBeside()
{
    size_t start = NameStart(target);
    std::string folder = target.substr(0, start);
    std::string base = target.substr(start);
    base.resize(std::min<size_t>(base.size(), 200));  // room for the suffix within a name's limit
    RemoveLeftovers(folder, base);
    auto seed = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < TemporaryNameAttempts; attempt++) {
        std::string name = folder + TemporaryName(base, static_cast<unsigned long>(_getpid()),
                                                  (seed + attempt * 7919UL) % 1000000UL);
        if (OpenNew(name.c_str())) {
            temporary = name;
            DWORD kept = GetFileAttributesW(platform::WideFromUtf8(target).c_str());
            if (kept != INVALID_FILE_ATTRIBUTES && (kept & KeptAttributes))
                SetFileAttributesW(platform::WideFromUtf8(temporary).c_str(), kept & KeptAttributes);
            return 1;
        }
        if (errno != EEXIST)
            return 0;
    }
    return 0;
}

// A process that is still running may be saving the same target right now: its file
// stays. Ours cannot be: a save runs to its end before the next begins.
void CReplacingFile::RemoveLeftovers(const std::string& folder, const std::string& base)
{
    WIN32_FIND_DATAW entry{};
    std::wstring pattern = platform::WideFromUtf8(folder + "." + base + ".*.tmp");
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    int reason = errno;
    do {
        std::string name = platform::Utf8FromWide(entry.cFileName);
        std::string target;
        unsigned long process = 0;
        if (!IsTemporaryName(name, &target, &process) || target != base)
            continue;
        if (process != static_cast<unsigned long>(_getpid()) && IsRunning(process))
            continue;
        DeleteFileW(platform::WideFromUtf8(folder + name).c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    errno = reason;
}
