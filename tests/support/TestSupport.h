#pragma once

#include "ShellEntry.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What a test saw of one dialog or message box when it became active.
struct SeenWindow
{
    std::string caption;
    std::string text;          // a message box's message, empty for a dialog
    std::vector<int> buttons;  // visible push buttons, by id
    int defaultButton = 0;
    bool hasIcon = false;
    HWND owner = NULL;
};

// Drives the modal dialogs and message boxes that the calling thread opens:
// a thread timer, which runs inside whatever modal loop is active, watches
// for the dialog that the user could work with now (the topmost visible and
// enabled one) and hands each new one, or the owner that becomes usable again
// when a nested one closes, to the next scripted step. A window with no step
// left, or a step that no window arrives for within the time limit, fails the
// test and is closed, so a test never hangs.
class DialogDriver
{
public:
    using Step = std::function<void(HWND)>;

    DialogDriver();
    ~DialogDriver();

    // Each step handles the next dialog activation, in order.
    DialogDriver& Then(Step step);

    // Every activated dialog, in order.
    const std::vector<SeenWindow>& Seen() const { return seen; }
    size_t StepsLeft() const { return steps.size(); }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void Poll();

    std::vector<Step> steps;
    std::vector<SeenWindow> seen;
    HWND current;
    UINT_PTR timer;
    DWORD lastProgress;
};

SeenWindow DescribeWindow(HWND hwnd);
std::string WindowText(HWND hwnd);
std::string DlgItemText(HWND hwnd, int id);

// Presses a button the way a click does, after the current step returns.
void PressButton(HWND dialog, int id);

// Directory of the running test executable, ending in a backslash.
std::string ModuleDirectory();
std::string CatalogueFilePath();

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::vector<std::string> FilesMatching(const std::string& pattern);

// A 320-byte record with the given texts and a recognisable filler after
// each terminator.
ShellEntry MakeEntry(const char* name, const char* path, char filler = '\x5A');
std::string RecordBytes(const ShellEntry& entry);

// Reads a string-table text from the running executable.
std::string LoadText(UINT id);

// Registry helpers for tests that change machine state; every change is
// undone by the guard's destructor.
class RegistryValueGuard
{
public:
    RegistryValueGuard(HKEY root, const std::string& subkey, const std::string& name, REGSAM view = 0);
    ~RegistryValueGuard();

private:
    HKEY root;
    std::string subkey;
    std::string name;
    REGSAM view;
    bool keyExisted;
    bool valueExisted;
    DWORD type;
    std::vector<BYTE> data;
};

bool ReadRegistryString(HKEY root, const std::string& subkey, const std::string& name, std::string& value,
                        REGSAM view = 0);
bool ReadRegistryDword(HKEY root, const std::string& subkey, const std::string& name, DWORD& value,
                       REGSAM view = 0);
bool RegistryKeyExists(HKEY root, const std::string& subkey, REGSAM view = 0);
void SetRegistryValue(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
                      const void* data, DWORD size, REGSAM view = 0);
void DeleteRegistryValue(HKEY root, const std::string& subkey, const std::string& name, REGSAM view = 0);
void DeleteRegistryTree(HKEY root, const std::string& subkey, REGSAM view = 0);

// Gives a key a DACL that lets everyone only read it, for as long as it lives.
class ReadOnlyKeyGuard
{
public:
    ReadOnlyKeyGuard(HKEY root, const std::string& subkey);
    ~ReadOnlyKeyGuard();

private:
    HKEY key;
    std::vector<BYTE> originalSecurity;
};
