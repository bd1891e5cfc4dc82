#include "CatalogueFile.h"

#include <cstring>

const char CatalogueFileName[] = "Varnholt.dat";

namespace
{

// Largest block handed to one WriteFile call: a whole number of records.
const DWORD WriteBlockSize = sizeof(ShellEntry) * 2048;

// How many names a save tries before it gives up on a temporary file.
const int TemporaryNameAttempts = 100;

// A record from a damaged or foreign file may lack a terminator in a field;
// cut such a field at its last byte so that no text runs past it.
void TerminateFields(ShellEntry& record)
{
    if (!std::memchr(record.name, '\0', sizeof record.name))
        record.name[sizeof record.name - 1] = '\0';
    if (!std::memchr(record.path, '\0', sizeof record.path))
        record.path[sizeof record.path - 1] = '\0';
}

// Creates a new, empty file beside the catalogue file. Its name, "VhXXXX.tmp",
// is never longer than the catalogue file's, so it fits wherever that does.
HANDLE CreateTemporaryFile(const char* cataloguePath, char temporaryPath[MAX_PATH])
{
    lstrcpynA(temporaryPath, cataloguePath, MAX_PATH);
    char* namePart = temporaryPath + lstrlenA(temporaryPath) - lstrlenA(CatalogueFileName);

    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 12);
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt)
    {
        wsprintfA(namePart, "Vh%04X.tmp", static_cast<unsigned>((seed + attempt) & 0xFFFF));
        HANDLE file = CreateFileA(temporaryPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes entries 1 and up; they lie side by side in the catalogue's storage.
bool WriteRecords(HANDLE file, const ShellCatalogue& catalogue)
{
    if (catalogue.Size() < 2)
        return true;

    const char* data = reinterpret_cast<const char*>(&catalogue.At(1));
    DWORD remaining = (catalogue.Size() - 1) * sizeof(ShellEntry);
    while (remaining > 0)
    {
        DWORD request = remaining < WriteBlockSize ? remaining : WriteBlockSize;
        DWORD written = 0;
        if (!WriteFile(file, data, request, &written, NULL) || written != request)
            return false;
        data += written;
        remaining -= written;
    }
    return true;
}

// The catalogue file is replaced only where it could be rewritten in place:
// not read-only, and not held open by a program that shares no writing.
// (Renaming over it would succeed in both cases on some systems.)
bool CanReplaceCatalogueFile(const char* cataloguePath)
{
    DWORD attributes = GetFileAttributesA(cataloguePath);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return false;

    HANDLE file = CreateFileA(cataloguePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// Puts the temporary file in the catalogue file's place, or deletes it and
// leaves the catalogue file as it was.
void ReplaceCatalogueFile(const char* temporaryPath, const char* cataloguePath)
{
    if (MoveFileExA(temporaryPath, cataloguePath, MOVEFILE_REPLACE_EXISTING))
        return;

    // Windows 95/98 have no MoveFileExA: remove the old file, then rename.
    // Should that rename fail, the temporary file holds the only copy of the
    // catalogue and is kept.
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED &&
        (DeleteFileA(cataloguePath) || GetLastError() == ERROR_FILE_NOT_FOUND))
    {
        MoveFileA(temporaryPath, cataloguePath);
        return;
    }
    DeleteFileA(temporaryPath);
}

} // namespace

bool GetModuleDirectory(char* buffer, DWORD size)
{
    DWORD length = GetModuleFileNameA(NULL, buffer, size);
    if (length == 0 || length >= size)
    {
        // A name that did not fit may be left unterminated (Windows XP).
        if (size > 0)
            buffer[length == 0 ? 0 : size - 1] = '\0';
        return false;
    }

    for (DWORD end = length; end > 1; --end)
    {
        if (buffer[end - 1] == '\\')
        {
            buffer[end] = '\0';
            return true;
        }
    }
    return false;
}

bool GetCatalogueFilePath(char path[MAX_PATH])
{
    if (!GetModuleDirectory(path, MAX_PATH))
        return false;
    if (lstrlenA(path) + lstrlenA(CatalogueFileName) >= MAX_PATH)
        return false;
    lstrcatA(path, CatalogueFileName);
    return true;
}

void LoadCatalogue(ShellCatalogue& catalogue)
{
    catalogue.Clear();

    ShellEntry record = {};
    CopyText(record.name, ShellNameSize, "Microsoft Explorer");
    CopyText(record.path, ShellPathSize, "explorer.exe");
    catalogue.Append(record);

    char path[MAX_PATH];
    if (!GetCatalogueFilePath(path))
        return;

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;

    // A trailing partial record comes back short and is dropped; the read
    // after it returns 0 bytes and ends the loop.
    DWORD bytesRead = 0;
    while (ReadFile(file, &record, sizeof record, &bytesRead, NULL) && bytesRead != 0)
    {
        if (bytesRead == sizeof record)
        {
            TerminateFields(record);
            catalogue.Append(record);
        }
    }
    CloseHandle(file);
}

void SaveCatalogue(const ShellCatalogue& catalogue)
{
    char path[MAX_PATH];
    if (!GetCatalogueFilePath(path) || !CanReplaceCatalogueFile(path))
        return;

    char temporaryPath[MAX_PATH];
    HANDLE file = CreateTemporaryFile(path, temporaryPath);
    if (file == INVALID_HANDLE_VALUE)
        return;

    bool written = WriteRecords(file, catalogue) && FlushFileBuffers(file);
    CloseHandle(file);

    if (written)
        ReplaceCatalogueFile(temporaryPath, path);
    else
        DeleteFileA(temporaryPath);
}
