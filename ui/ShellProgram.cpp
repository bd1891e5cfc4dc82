#include "Dialogs.h"
#include "ShellSettings.h"
#include "resource.h"

namespace
{

// Looks for name as Windows does for the program of a command line: as given,
// with ".exe" when it has no extension, and for a bare name along the search path.
bool ProgramExists(const char* name, char program[MAX_PATH])
{
    DWORD length = SearchPathA(NULL, name, ".exe", MAX_PATH, program, NULL);
    if (length == 0 || length >= MAX_PATH)
        return false;
    DWORD attributes = GetFileAttributesA(program);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CandidateExists(const char* start, int length, char program[MAX_PATH])
{
    if (length <= 0 || length >= MAX_PATH)
        return false;
    char candidate[MAX_PATH];
    lstrcpynA(candidate, start, length + 1);
    return ProgramExists(candidate, program);
}

} // namespace

bool FindShellProgram(const char* commandLine, char program[MAX_PATH])
{
    const char* start = commandLine;
    while (*start == ' ' || *start == '\t')
        ++start;

    // A quoted program name ends at the closing quote.
    if (*start == '"')
    {
        const char* end = ++start;
        while (*end && *end != '"')
            ++end;
        return CandidateExists(start, static_cast<int>(end - start), program);
    }

    // Otherwise the program is the shortest run of words that names a file,
    // so that an unquoted path with spaces, arguments after it, still works.
    for (const char* end = start;; ++end)
    {
        if ((*end == ' ' || *end == '\0') && CandidateExists(start, static_cast<int>(end - start), program))
            return true;
        if (*end == '\0')
            return false;
    }
}

bool ConfirmShellChoice(HWND hwnd, const ShellEntry& entry)
{
    char program[MAX_PATH];
    if (FindShellProgram(entry.path, program))
        return true;

    char format[MessageSize];
    LoadMessage(IDS_SHELL_NOT_FOUND, format);
    char text[MessageSize + ShellPathSize];
    wsprintfA(text, format, entry.path);
    return MessageBoxA(hwnd, text, ProgramTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}
