// The dialogs driven for real under Wine: the main dialog, the entry editor,
// the catalogue editing commands and the warning for a missing program.
#include "CatalogueFile.h"
#include "Dialogs.h"
#include "ShellSettings.h"
#include "TestSupport.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

TEST(GetFileNamePartTest, ReturnsTheTextAfterTheLastBackslash)
{
    struct Case
    {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Shells\\alt.exe", "alt.exe"},
        {"alt.exe", "alt.exe"},
        {"C:\\Shells\\", ""},
        {"", ""},
        {"\\\\server\\share\\alt.exe", ""},
        {"C:\\Shells\\alt.exe -desktop", "alt.exe -desktop"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, GetFileNamePart(c.path)) << c.path;
}

namespace
{

const char Winlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

struct Row
{
    std::string name;
    std::string path;
    int index;
    bool operator==(const Row& other) const
    {
        return name == other.name && path == other.path && index == other.index;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << "{" << row.name << ", " << row.path << ", " << row.index << "}";
}

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_SHELL_LIST);
}

std::string CellText(HWND list, int row, int column)
{
    char text[MAX_PATH + 1] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<Row> Rows(HWND dialog)
{
    HWND list = List(dialog);
    std::vector<Row> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({CellText(list, row, 0), CellText(list, row, 1), static_cast<int>(item.lParam)});
    }
    return rows;
}

int SelectedRowCount(HWND dialog)
{
    return static_cast<int>(SendMessageA(List(dialog), LVM_GETSELECTEDCOUNT, 0, 0));
}

void SelectRow(HWND dialog, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(dialog), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// The row that shows the given catalogue entry, or -1.
int RowOfEntry(HWND dialog, int index)
{
    std::vector<Row> rows = Rows(dialog);
    for (size_t row = 0; row < rows.size(); ++row)
    {
        if (rows[row].index == index)
            return static_cast<int>(row);
    }
    ADD_FAILURE() << "no row for entry " << index;
    return -1;
}

void SelectEntry(HWND dialog, int index)
{
    SelectRow(dialog, RowOfEntry(dialog, index));
}

// Sends a command and lets it run to completion (for commands that open no window).
void Command(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string TestExecutable()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return path;
}

class MainDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitCommonControls();
        g_instance = GetModuleHandleA(NULL);
        RemoveCatalogueFile();
        SetConfiguredShell("C:\\Shells\\configured.exe");
    }
    void TearDown() override { RemoveCatalogueFile(); }

    static void RemoveCatalogueFile()
    {
        SetFileAttributesA(CatalogueFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(CatalogueFilePath().c_str());
    }

    static void SetConfiguredShell(const std::string& shell)
    {
        SetRegistryValue(HKEY_LOCAL_MACHINE, Winlogon, "Shell", REG_SZ, shell.c_str(),
                         static_cast<DWORD>(shell.size() + 1));
    }

    // The built-in entry plus the given user entries, as LoadCatalogue would give them.
    void UseCatalogue(std::initializer_list<ShellEntry> entries)
    {
        catalogue.Clear();
        catalogue.Append(MakeEntry("Microsoft Explorer", "explorer.exe"));
        for (const ShellEntry& entry : entries)
            catalogue.Append(entry);
    }

    std::string SavedRecords() const
    {
        std::string bytes;
        for (unsigned i = 1; i < catalogue.Size(); ++i)
            bytes += RecordBytes(catalogue.At(static_cast<int>(i)));
        return bytes;
    }

    RegistryValueGuard shellGuard{HKEY_LOCAL_MACHINE, Winlogon, "Shell"};
    ShellCatalogue catalogue;
};

} // namespace

TEST_F(MainDialogTest, ListsEntriesSortedByNameWithTheirCatalogueIndex)
{
    const std::string existing = TestExecutable();
    UseCatalogue({MakeEntry("Beta", existing.c_str()), MakeEntry("Alpha", existing.c_str())});

    struct Case
    {
        int choose;
    } cases[] = {{2}, {0}, {1}};
    for (const Case& c : cases)
    {
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            EXPECT_EQ("Orvantis", WindowText(dialog));
            EXPECT_EQ("C:\\Shells\\configured.exe", DlgItemText(dialog, IDC_CURRENT_SHELL));
            std::vector<Row> expected = {{"Alpha", existing, 2}, {"Beta", existing, 1},
                                         {"Microsoft Explorer", "explorer.exe", 0}};
            EXPECT_EQ(expected, Rows(dialog));
            EXPECT_EQ(0, SelectedRowCount(dialog));
            EXPECT_EQ(List(dialog), GetFocus()) << "the list is the first tab stop";
            SelectEntry(dialog, c.choose);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(c.choose, RunMainDialog(&catalogue));
    }
}

TEST_F(MainDialogTest, ChangeWithoutSelectionKeepsTheDialogAndCloseReturnsMinusOne)
{
    UseCatalogue({MakeEntry("alt", "C:\\Shells\\alt.exe")});
    DialogDriver driver;
    driver.Then([](HWND dialog) {
        Command(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog)) << "Change with nothing selected ended the dialog";
        Command(dialog, IDCANCEL);
    });
    EXPECT_EQ(-1, RunMainDialog(&catalogue));
    EXPECT_FALSE(FileExists(CatalogueFilePath()));
}

TEST_F(MainDialogTest, EditAndDeleteOnTheBuiltInEntryChangeNothing)
{
    UseCatalogue({MakeEntry("alt", "C:\\Shells\\alt.exe")});
    DialogDriver driver;
    driver.Then([](HWND dialog) {
        std::vector<Row> before = Rows(dialog);
        for (int id : {IDC_EDIT_SHELL, IDC_DELETE_SHELL})
        {
            SelectEntry(dialog, 0);
            Command(dialog, id);
            EXPECT_EQ(before, Rows(dialog));
            EXPECT_EQ(1, SelectedRowCount(dialog));
        }
        // The same commands with nothing selected.
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        Command(dialog, IDC_EDIT_SHELL);
        Command(dialog, IDC_DELETE_SHELL);
        EXPECT_EQ(before, Rows(dialog));
        Command(dialog, IDCANCEL);
    });
    EXPECT_EQ(-1, RunMainDialog(&catalogue));
    EXPECT_EQ(1u, driver.Seen().size()) << "a window opened";
    EXPECT_EQ(2u, catalogue.Size());
    EXPECT_FALSE(FileExists(CatalogueFilePath()));
}

TEST_F(MainDialogTest, NewShellProposesTheConfiguredShellAndCancelAddsNothing)
{
    struct Case
    {
        std::string configured;
        std::string name;
        std::string path;
    } cases[] = {
        {"C:\\Shells\\alt.exe", "alt.exe", "C:\\Shells\\alt.exe"},
        {"C:\\Shells\\alt.exe -desktop", "alt.exe -desktop", "C:\\Shells\\alt.exe -desktop"},
        {"\\\\server\\shells\\alt.exe", "", "\\\\server\\shells\\alt.exe"},
        {"C:\\Shells\\" + std::string(70, 'n'), std::string(59, 'n'), "C:\\Shells\\" + std::string(70, 'n')},
        {std::string(260, 'x'), "Unknown", "Unknown"},
    };
    for (const Case& c : cases)
    {
        SetConfiguredShell(c.configured);
        UseCatalogue({});
        DialogDriver driver;
        driver.Then([](HWND dialog) { PressButton(dialog, IDC_NEW_SHELL); })
            .Then([&](HWND editor) {
                EXPECT_EQ("Add/Change Shell", WindowText(editor));
                EXPECT_EQ(c.name, DlgItemText(editor, IDC_SHELL_NAME)) << c.configured;
                EXPECT_EQ(c.path, DlgItemText(editor, IDC_SHELL_PATH)) << c.configured;
                EXPECT_EQ(GetDlgItem(editor, IDC_SHELL_PATH), GetFocus());
                PressButton(editor, IDCANCEL);
            })
            .Then([](HWND dialog) {
                EXPECT_EQ(1u, Rows(dialog).size());
                PressButton(dialog, IDCANCEL);
            });
        EXPECT_EQ(-1, RunMainDialog(&catalogue));
        EXPECT_EQ(1u, catalogue.Size());
        EXPECT_FALSE(FileExists(CatalogueFilePath())) << "cancelled New Shell wrote the file";
    }
}

TEST_F(MainDialogTest, NewShellProposesUnknownWhenTheConfiguredShellIsUnreadable)
{
    UseCatalogue({});
    ReadOnlyKeyGuard readOnly(HKEY_LOCAL_MACHINE, Winlogon);
    DialogDriver driver;
    driver.Then([](HWND dialog) {
              EXPECT_EQ("Unknown", DlgItemText(dialog, IDC_CURRENT_SHELL));
              PressButton(dialog, IDC_NEW_SHELL);
          })
        .Then([](HWND editor) {
            EXPECT_EQ("Unknown", DlgItemText(editor, IDC_SHELL_NAME));
            EXPECT_EQ("Unknown", DlgItemText(editor, IDC_SHELL_PATH));
            PressButton(editor, IDCANCEL);
        })
        .Then([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    RunMainDialog(&catalogue);
}

TEST_F(MainDialogTest, NewShellOkAppendsListsAndSavesEvenDuplicates)
{
    UseCatalogue({});
    auto addAlt = [](HWND editor) {
        SetDlgItemTextA(editor, IDC_SHELL_NAME, std::string(70, 'a').c_str());
        SetDlgItemTextA(editor, IDC_SHELL_PATH, "C:\\Shells\\alt.exe");
        PressButton(editor, IDOK);
    };
    DialogDriver driver;
    driver.Then([](HWND dialog) { PressButton(dialog, IDC_NEW_SHELL); })
        .Then(addAlt)
        .Then([](HWND dialog) {
            EXPECT_EQ(2u, Rows(dialog).size());
            EXPECT_EQ(0, SelectedRowCount(dialog));
            PressButton(dialog, IDC_NEW_SHELL);
        })
        .Then(addAlt)
        .Then([](HWND dialog) {
            std::vector<Row> rows = Rows(dialog);
            ASSERT_EQ(3u, rows.size());
            EXPECT_EQ(std::string(59, 'a'), rows[0].name);
            EXPECT_EQ("C:\\Shells\\alt.exe", rows[0].path);
            EXPECT_EQ(rows[0].name, rows[1].name);
            PressButton(dialog, IDCANCEL);
        });
    RunMainDialog(&catalogue);
    ASSERT_EQ(3u, catalogue.Size());
    EXPECT_STREQ(catalogue.At(1).name, catalogue.At(2).name);
    EXPECT_STREQ("C:\\Shells\\alt.exe", catalogue.At(2).path);
    EXPECT_EQ(SavedRecords(), ReadFileBytes(CatalogueFilePath()));
}

TEST_F(MainDialogTest, EditShellRewritesTheFileAfterOkAndAfterCancel)
{
    struct Case
    {
        bool ok;
        const char* expectedName;
    } cases[] = {{false, "alt"}, {true, "renamed"}};
    for (const Case& c : cases)
    {
        ShellEntry alt = MakeEntry("alt", "C:\\Shells\\alt.exe");
        UseCatalogue({alt});
        WriteFileBytes(CatalogueFilePath(), ""); // differs from the catalogue until rewritten
        DialogDriver driver;
        driver.Then([](HWND dialog) {
                  SelectEntry(dialog, 1);
                  PressButton(dialog, IDC_EDIT_SHELL);
              })
            .Then([&](HWND editor) {
                EXPECT_EQ("alt", DlgItemText(editor, IDC_SHELL_NAME));
                EXPECT_EQ("C:\\Shells\\alt.exe", DlgItemText(editor, IDC_SHELL_PATH));
                SetDlgItemTextA(editor, IDC_SHELL_NAME, "renamed");
                PressButton(editor, c.ok ? IDOK : IDCANCEL);
            })
            .Then([&](HWND dialog) {
                EXPECT_EQ(0, SelectedRowCount(dialog));
                EXPECT_EQ(c.expectedName, CellText(List(dialog), RowOfEntry(dialog, 1), 0));
                PressButton(dialog, IDCANCEL);
            });
        RunMainDialog(&catalogue);
        EXPECT_STREQ(c.expectedName, catalogue.At(1).name);
        if (!c.ok)
        {
            EXPECT_EQ(RecordBytes(alt), RecordBytes(catalogue.At(1))) << "cancel changed the entry";
        }
        EXPECT_EQ(SavedRecords(), ReadFileBytes(CatalogueFilePath()));
    }
}

TEST_F(MainDialogTest, DeleteShellAsksAndRemovesOnlyOnYes)
{
    UseCatalogue({MakeEntry("alt", "C:\\Shells\\alt.exe"), MakeEntry("beta", "C:\\Shells\\beta.exe"),
                  MakeEntry("gamma", "C:\\Shells\\gamma.exe")});
    SaveCatalogue(catalogue);
    HWND mainDialog = NULL;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
              mainDialog = dialog;
              SelectEntry(dialog, 1);
              PressButton(dialog, IDC_DELETE_SHELL);
          })
        .Then([](HWND prompt) { PressButton(prompt, IDNO); })
        .Then([](HWND dialog) {
            EXPECT_EQ(4u, Rows(dialog).size());
            EXPECT_EQ(960u, ReadFileBytes(CatalogueFilePath()).size());
            SelectEntry(dialog, 1);
            PressButton(dialog, IDC_DELETE_SHELL);
        })
        .Then([](HWND prompt) { PressButton(prompt, IDYES); })
        .Then([](HWND dialog) {
            std::vector<Row> expected = {{"beta", "C:\\Shells\\beta.exe", 1},
                                         {"gamma", "C:\\Shells\\gamma.exe", 2},
                                         {"Microsoft Explorer", "explorer.exe", 0}};
            EXPECT_EQ(expected, Rows(dialog));
            PressButton(dialog, IDCANCEL);
        });
    RunMainDialog(&catalogue);

    ASSERT_EQ(5u, driver.Seen().size());
    for (int i : {1, 3})
    {
        const SeenWindow& prompt = driver.Seen()[i];
        EXPECT_EQ("Varnholt", prompt.caption);
        EXPECT_EQ("Remove alt from Varnholt?", prompt.text);
        EXPECT_EQ((std::vector<int>{IDYES, IDNO}), prompt.buttons);
        EXPECT_EQ(IDYES, prompt.defaultButton);
        EXPECT_FALSE(prompt.hasIcon);
        EXPECT_EQ(mainDialog, prompt.owner);
    }
    EXPECT_EQ(640u, ReadFileBytes(CatalogueFilePath()).size());
    EXPECT_EQ(SavedRecords(), ReadFileBytes(CatalogueFilePath()));
}

namespace
{

// The file-name field of the open-file dialog: a combo box in the Explorer
// style, an edit control in older layouts.
HWND FileNameField(HWND fileDialog)
{
    const int fileNameCombo = 0x047C;
    const int fileNameEdit = 0x0480;
    HWND field = GetDlgItem(fileDialog, fileNameCombo);
    return field ? field : GetDlgItem(fileDialog, fileNameEdit);
}

// Runs the entry editor on an entry, with steps for the editor and the file dialog.
int EditEntry(ShellEntry& entry, std::function<void(HWND)> editorStep, std::function<void(HWND)> fileStep,
              std::function<void(HWND)> afterBrowse)
{
    DialogDriver driver;
    driver.Then(editorStep);
    if (fileStep)
        driver.Then(fileStep).Then(afterBrowse);
    return RunEntryEditor(NULL, &entry);
}

} // namespace

TEST_F(MainDialogTest, EntryEditorShowsTheEntryAndKeepsItUntouchedOnCancel)
{
    ShellEntry entry = MakeEntry("alt", "C:\\Shells\\alt.exe");
    const std::string before = RecordBytes(entry);
    int result = EditEntry(
        entry,
        [](HWND editor) {
            EXPECT_EQ("alt", DlgItemText(editor, IDC_SHELL_NAME));
            EXPECT_EQ("C:\\Shells\\alt.exe", DlgItemText(editor, IDC_SHELL_PATH));
            SetDlgItemTextA(editor, IDC_SHELL_NAME, "changed");
            PressButton(editor, IDCANCEL);
        },
        nullptr, nullptr);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(before, RecordBytes(entry));
}

TEST_F(MainDialogTest, EntryEditorOkKeepsWhatFitsAndTheBytesAfterIt)
{
    ShellEntry entry = MakeEntry("alt", "C:\\Shells\\alt.exe", '\x66');
    int result = EditEntry(
        entry,
        [](HWND editor) {
            SetDlgItemTextA(editor, IDC_SHELL_NAME, std::string(70, 'n').c_str());
            SetDlgItemTextA(editor, IDC_SHELL_PATH, std::string(300, 'p').c_str());
            PressButton(editor, IDOK);
        },
        nullptr, nullptr);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::string(59, 'n'), entry.name);
    EXPECT_EQ(std::string(259, 'p'), entry.path);

    ShellEntry shorter = MakeEntry("alt", "C:\\Shells\\alt.exe", '\x66');
    EditEntry(
        shorter,
        [](HWND editor) {
            SetDlgItemTextA(editor, IDC_SHELL_NAME, "a");
            PressButton(editor, IDOK);
        },
        nullptr, nullptr);
    EXPECT_EQ(std::string("a\0t\0", 4), std::string(shorter.name, 4)) << "bytes after the terminator kept";
    EXPECT_EQ('\x66', shorter.name[59]);
}

TEST_F(MainDialogTest, BrowseFillsPathAndNameFromTheChosenFile)
{
    const std::string chosen = TestExecutable();
    const std::string chosenName = chosen.substr(chosen.rfind('\\') + 1);
    ShellEntry entry = MakeEntry("", "");
    EditEntry(
        entry,
        [](HWND editor) { PressButton(editor, IDC_BROWSE); },
        [&](HWND fileDialog) {
            EXPECT_EQ("Locate the Shell Executable", WindowText(fileDialog));
            SetWindowTextA(FileNameField(fileDialog), chosen.c_str());
            PressButton(fileDialog, IDOK);
        },
        [&](HWND editor) {
            EXPECT_EQ(chosenName, DlgItemText(editor, IDC_SHELL_NAME));
            EXPECT_EQ(0, lstrcmpiA(chosen.c_str(), DlgItemText(editor, IDC_SHELL_PATH).c_str()))
                << DlgItemText(editor, IDC_SHELL_PATH);
            PressButton(editor, IDOK);
        });
    EXPECT_STREQ(chosenName.c_str(), entry.name);
}

TEST_F(MainDialogTest, CancelledBrowseLeavesBothFields)
{
    struct Case
    {
        std::string path;
        std::string after;
    } cases[] = {
        {"C:\\Shells\\alt.exe", "C:\\Shells\\alt.exe"},
        {"", ""},
        {std::string(300, 'q'), std::string(259, 'q')},
    };
    for (const Case& c : cases)
    {
        ShellEntry entry = MakeEntry("alt", "");
        EditEntry(
            entry,
            [&](HWND editor) {
                SetDlgItemTextA(editor, IDC_SHELL_PATH, c.path.c_str());
                PressButton(editor, IDC_BROWSE);
            },
            [](HWND fileDialog) { PressButton(fileDialog, IDCANCEL); },
            [&](HWND editor) {
                EXPECT_EQ("alt", DlgItemText(editor, IDC_SHELL_NAME));
                EXPECT_EQ(c.after, DlgItemText(editor, IDC_SHELL_PATH));
                PressButton(editor, IDCANCEL);
            });
    }
}

TEST(FindShellProgramTest, FindsTheProgramAsACommandLineWould)
{
    // A program in a folder whose name has a space, as in C:\Program Files.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "Alt Shell Test";
    CreateDirectoryA(folder.c_str(), NULL);
    const std::string program = folder + "\\alt.exe";
    ASSERT_TRUE(CopyFileA(TestExecutable().c_str(), program.c_str(), FALSE));

    struct Case
    {
        std::string commandLine;
        bool found;
    } cases[] = {
        {"explorer.exe", true},
        {"notepad", true},
        {program, true},
        {program + " -desktop", true},
        {"\"" + program + "\" -desktop", true},
        {folder + "\\alt -desktop", true},
        {"  " + program, true},
        {"", false},
        {"Unknown", false},
        {"C:\\Missing\\nothing.exe", false},
        {"\"" + folder + "\"", false},
        {folder + "\\alt.exe.bak", false},
        {std::string(300, 'z'), false},
    };
    for (const Case& c : cases)
    {
        char found[MAX_PATH] = "";
        EXPECT_EQ(c.found, FindShellProgram(c.commandLine.c_str(), found)) << c.commandLine;
    }
    DeleteFileA(program.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(MainDialogTest, ChangeWarnsBeforeChoosingAProgramThatCannotBeFound)
{
    const char missing[] = "C:\\Missing\\nothing.exe -desktop";
    UseCatalogue({MakeEntry("missing", missing)});
    HWND mainDialog = NULL;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
              mainDialog = dialog;
              SelectEntry(dialog, 1);
              PressButton(dialog, IDOK);
          })
        .Then([](HWND warning) { PressButton(warning, IDNO); })
        .Then([](HWND dialog) {
            EXPECT_EQ(1, SelectedRowCount(dialog));
            PressButton(dialog, IDOK);
        })
        .Then([](HWND warning) { PressButton(warning, IDYES); });
    EXPECT_EQ(1, RunMainDialog(&catalogue));

    ASSERT_EQ(4u, driver.Seen().size());
    const SeenWindow& warning = driver.Seen()[1];
    EXPECT_EQ("Orvantis", warning.caption);
    EXPECT_EQ(std::string("The program ") + missing +
                  " could not be found. If it cannot be started at your next logon, Windows will show no desktop. "
                  "Change the shell anyway?",
              warning.text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), warning.buttons);
    EXPECT_EQ(IDNO, warning.defaultButton);
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_EQ(mainDialog, warning.owner);
}

TEST_F(MainDialogTest, ChangeOnAProgramThatExistsAsksNothing)
{
    UseCatalogue({MakeEntry("self", (TestExecutable() + " -desktop").c_str())});
    for (int choose : {0, 1})
    {
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            SelectEntry(dialog, choose);
            PressButton(dialog, IDOK);
        });
        EXPECT_EQ(choose, RunMainDialog(&catalogue));
        EXPECT_EQ(1u, driver.Seen().size());
    }
}

// The program itself: a first run that ends with Close leaves an empty
// catalogue file beside the executable, and asks nothing.
TEST(ProgramRunTest, FirstRunClosedLeavesAnEmptyCatalogueFile)
{
    char source[MAX_PATH] = "";
    GetEnvironmentVariableA("VARNHOLT_TEST_EXE", source, MAX_PATH);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "VarnholtRun";
    CreateDirectoryA(folder.c_str(), NULL);
    const std::string program = folder + "\\Varnholt.exe";
    const std::string catalogueFile = folder + "\\Varnholt.dat";
    DeleteFileA(catalogueFile.c_str());
    ASSERT_TRUE(CopyFileA(source, program.c_str(), FALSE)) << source;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\" --ignored";
    ASSERT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(),
                               &startup, &process));

    HWND window = NULL;
    for (int tries = 0; tries < 300 && !window; ++tries)
    {
        Sleep(50);
        window = FindWindowA("#32770", "Orvantis");
    }
    ASSERT_TRUE(window != NULL) << "the main dialog did not appear";
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 15000));
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_TRUE(FileExists(catalogueFile));
    EXPECT_EQ("", ReadFileBytes(catalogueFile));
    DeleteFileA(catalogueFile.c_str());
    DeleteFileA(program.c_str());
    RemoveDirectoryA(folder.c_str());
}
