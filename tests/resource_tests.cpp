// Reads the shipped Varnholt.exe (PE32) back: its headers, imports and every
// resource, as Windows itself would find them.
#include "TestSupport.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace
{

std::string ProductPath()
{
    char path[MAX_PATH] = "";
    GetEnvironmentVariableA("VARNHOLT_PRODUCT_EXE", path, MAX_PATH);
    return path;
}

class ProductTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExA(ProductPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        image = ReadFileBytes(ProductPath());
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
    }
    void SetUp() override
    {
        ASSERT_TRUE(module != NULL) << "cannot load " << ProductPath();
        ASSERT_GT(image.size(), 1024u);
    }

    static std::string Resource(LPCSTR type, LPCSTR name)
    {
        HRSRC found = FindResourceExA(module, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (!found)
            return std::string();
        HGLOBAL loaded = LoadResource(module, found);
        return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }

    template <typename T> static T At(size_t offset)
    {
        T value;
        std::memcpy(&value, image.data() + offset, sizeof value);
        return value;
    }

    static HMODULE module;
    static std::string image;
};

HMODULE ProductTest::module;
std::string ProductTest::image;

// A reader for dialog templates in their extended form.
class TemplateReader
{
public:
    explicit TemplateReader(const std::string& data) : data(data), offset(0) {}

    template <typename T> T Read()
    {
        T value{};
        if (offset + sizeof value <= data.size())
            std::memcpy(&value, data.data() + offset, sizeof value);
        offset += sizeof value;
        return value;
    }

    // A text, or "#n" for an ordinal.
    std::string ReadTextOrOrdinal()
    {
        WORD first = Read<WORD>();
        if (first == 0xFFFF)
            return "#" + std::to_string(Read<WORD>());
        std::string text;
        for (WORD c = first; c != 0; c = Read<WORD>())
            text += static_cast<char>(c);
        return text;
    }

    void AlignToDword() { offset = (offset + 3) & ~size_t(3); }

private:
    const std::string& data;
    size_t offset;
};

struct ExpectedControl
{
    int id;
    std::string className;
    std::string text;
    short x, y, cx, cy;
    DWORD style;
};

struct ExpectedDialog
{
    DWORD style;
    short x, y, cx, cy;
    std::string caption;
    std::vector<ExpectedControl> controls;
};

// Window classes are named without regard to case; a template may also give
// the predefined ones by atom.
std::string ClassName(const std::string& raw)
{
    static const std::map<std::string, std::string> atoms = {
        {"#128", "button"}, {"#129", "edit"}, {"#130", "static"}};
    auto atom = atoms.find(raw);
    std::string name = atom != atoms.end() ? atom->second : raw;
    CharLowerA(&name[0]);
    return name;
}

void ExpectTemplate(const std::string& data, const ExpectedDialog& expected)
{
    ASSERT_FALSE(data.empty());
    TemplateReader reader(data);
    ASSERT_EQ(1, reader.Read<WORD>()) << "dialog template version";
    ASSERT_EQ(0xFFFF, reader.Read<WORD>()) << "extended template signature";
    reader.Read<DWORD>();
    EXPECT_EQ(0u, reader.Read<DWORD>()) << "extended style";
    EXPECT_EQ(expected.style, reader.Read<DWORD>()) << "style";
    WORD count = reader.Read<WORD>();
    EXPECT_EQ(expected.x, reader.Read<short>());
    EXPECT_EQ(expected.y, reader.Read<short>());
    EXPECT_EQ(expected.cx, reader.Read<short>());
    EXPECT_EQ(expected.cy, reader.Read<short>());
    EXPECT_EQ("", reader.ReadTextOrOrdinal()) << "menu";
    EXPECT_EQ("", reader.ReadTextOrOrdinal()) << "class";
    EXPECT_EQ(expected.caption, reader.ReadTextOrOrdinal());
    EXPECT_EQ(8, reader.Read<WORD>()) << "point size";
    reader.Read<WORD>();
    reader.Read<BYTE>();
    reader.Read<BYTE>();
    EXPECT_EQ("MS Sans Serif", reader.ReadTextOrOrdinal());

    ASSERT_EQ(expected.controls.size(), count);
    for (const ExpectedControl& control : expected.controls)
    {
        reader.AlignToDword();
        reader.Read<DWORD>();
        EXPECT_EQ(0u, reader.Read<DWORD>()) << control.text;
        EXPECT_EQ(control.style, reader.Read<DWORD>()) << control.text;
        EXPECT_EQ(control.x, reader.Read<short>()) << control.text;
        EXPECT_EQ(control.y, reader.Read<short>()) << control.text;
        EXPECT_EQ(control.cx, reader.Read<short>()) << control.text;
        EXPECT_EQ(control.cy, reader.Read<short>()) << control.text;
        EXPECT_EQ(control.id, static_cast<int>(reader.Read<DWORD>())) << control.text;
        EXPECT_EQ(control.className, ClassName(reader.ReadTextOrOrdinal())) << control.text;
        std::string text = reader.ReadTextOrOrdinal();
        if (control.text != "*")
        {
            EXPECT_EQ(control.text, text);
        }
        WORD extra = reader.Read<WORD>();
        for (WORD i = 0; i < extra; ++i)
            reader.Read<BYTE>();
    }
}

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD PushButton = Child | WS_TABSTOP | BS_PUSHBUTTON;

} // namespace

TEST_F(ProductTest, IsA32BitGuiProgramForWindows4)
{
    ASSERT_EQ("MZ", image.substr(0, 2));
    const size_t nt = At<DWORD>(0x3C);
    ASSERT_EQ(std::string("PE\0\0", 4), image.substr(nt, 4));
    const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, At<WORD>(nt + 4));
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, At<WORD>(optional));
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, At<WORD>(optional + offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem)));
    EXPECT_EQ(4, At<WORD>(optional + offsetof(IMAGE_OPTIONAL_HEADER32, MajorSubsystemVersion)));
    EXPECT_EQ(0, At<WORD>(optional + offsetof(IMAGE_OPTIONAL_HEADER32, MinorSubsystemVersion)));
}

TEST_F(ProductTest, ImportsOnlyDllsThatEveryWindowsHas)
{
    const size_t nt = At<DWORD>(0x3C);
    const size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    const WORD sectionCount = At<WORD>(nt + 4 + offsetof(IMAGE_FILE_HEADER, NumberOfSections));
    const size_t sections = optional + At<WORD>(nt + 4 + offsetof(IMAGE_FILE_HEADER, SizeOfOptionalHeader));
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < sectionCount; ++i)
        {
            auto section = At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };

    auto importDirectory = At<IMAGE_DATA_DIRECTORY>(
        optional + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory) + IMAGE_DIRECTORY_ENTRY_IMPORT * sizeof(IMAGE_DATA_DIRECTORY));
    size_t descriptor = fileOffset(importDirectory.VirtualAddress);
    ASSERT_NE(0u, descriptor);

    std::vector<std::string> dlls;
    for (;; descriptor += sizeof(IMAGE_IMPORT_DESCRIPTOR))
    {
        auto entry = At<IMAGE_IMPORT_DESCRIPTOR>(descriptor);
        if (entry.Name == 0)
            break;
        std::string name = image.c_str() + fileOffset(entry.Name);
        CharLowerA(&name[0]);
        dlls.push_back(name);
    }
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll",
                                              "comdlg32.dll", "advapi32.dll", "msvcrt.dll"};
    for (const std::string& dll : dlls)
        EXPECT_NE(allowed.end(), std::find(allowed.begin(), allowed.end(), dll)) << dll;
    for (const char* needed : {"kernel32.dll", "user32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll"})
        EXPECT_NE(dlls.end(), std::find(dlls.begin(), dlls.end(), needed)) << needed;
}

namespace
{
struct ResourceId
{
    std::string type, name;
    WORD language;
};

std::string IdText(LPCSTR id)
{
    return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id)) : std::string(id);
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR list)
{
    reinterpret_cast<std::vector<ResourceId>*>(list)->push_back({IdText(type), IdText(name), language});
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR list)
{
    EnumResourceLanguagesA(module, type, name, AddLanguage, list);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR list)
{
    EnumResourceNamesA(module, type, AddName, list);
    return TRUE;
}
} // namespace

TEST_F(ProductTest, HoldsExactlyTheProgramsResourcesAllInUsEnglish)
{
    std::vector<ResourceId> resources;
    EnumResourceTypesA(module, AddType, reinterpret_cast<LONG_PTR>(&resources));

    std::vector<std::string> found;
    for (const ResourceId& resource : resources)
    {
        EXPECT_EQ(0x0409, resource.language) << resource.type << " " << resource.name;
        if (resource.type != "#3") // the icon images, listed by the icon group
            found.push_back(resource.type + "/" + resource.name);
    }
    std::sort(found.begin(), found.end());
    const std::vector<std::string> expected = {"#14/#104", "#16/#1", "#2/#102", "#24/#1", "#5/#101", "#5/#105", "#6/#1"};
    EXPECT_EQ(expected, found);
}

TEST_F(ProductTest, VersionBlockNamesVarnholt2004)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(ProductPath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(ProductPath().c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00020000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000004u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00020000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000004u, fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(static_cast<DWORD>(VS_FF_SPECIALBUILD), fixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);
    EXPECT_EQ(0u, fixed->dwFileDateMS);
    EXPECT_EQ(0u, fixed->dwFileDateLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    for (const char* name : {"CompanyName", "FileDescription", "LegalCopyright", "ProductName", "SpecialBuild"})
    {
        char* value = nullptr;
        std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_GT(lstrlenA(value), 0) << name;
    }
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\ProductName", reinterpret_cast<void**>(&product), &length));
    EXPECT_STREQ("Varnholt", product);
}

TEST_F(ProductTest, IconHasABlank16ColourImageAndTwoOpaquePictures)
{
#pragma pack(push, 2)
    struct GroupEntry
    {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP));
    ASSERT_GE(group.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, 2);
    ASSERT_EQ(3, count);

    std::map<int, std::string> imagesByDepth;
    for (WORD i = 0; i < count; ++i)
    {
        GroupEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(32, entry.width);
        EXPECT_EQ(32, entry.height);
        imagesByDepth[entry.bitCount] = Resource(RT_ICON, MAKEINTRESOURCEA(entry.id));
    }
    ASSERT_EQ(3u, imagesByDepth.size());

    for (auto& [depth, data] : imagesByDepth)
    {
        BITMAPINFOHEADER header;
        ASSERT_GE(data.size(), sizeof header);
        std::memcpy(&header, data.data(), sizeof header);
        EXPECT_EQ(depth, header.biBitCount);
        EXPECT_EQ(32, header.biWidth);
        EXPECT_EQ(64, header.biHeight);
        const size_t paletteBytes = depth <= 8 ? (size_t(1) << depth) * 4 : 0;
        const size_t xorBytes = ((32 * depth + 31) / 32) * 4 * 32;
        const size_t andBytes = 4 * 32;
        ASSERT_EQ(sizeof header + paletteBytes + xorBytes + andBytes, data.size()) << depth;
        const std::string mask = data.substr(data.size() - andBytes);
        const char expected = depth == 4 ? '\xFF' : '\0';
        EXPECT_EQ(std::string(andBytes, expected), mask) << depth << " bits: transparency mask";
    }

    // The 24-bit picture: gold corners, dark lettering somewhere.
    const std::string& truecolour = imagesByDepth[24];
    const size_t pixels = sizeof(BITMAPINFOHEADER);
    auto pixel = [&](int x, int y) {
        const BYTE* p = reinterpret_cast<const BYTE*>(truecolour.data()) + pixels + (31 - y) * 96 + x * 3;
        return RGB(p[2], p[1], p[0]);
    };
    COLORREF corner = pixel(0, 31);
    EXPECT_GT(GetRValue(corner), 200);
    EXPECT_GT(GetGValue(corner), 150);
    EXPECT_LT(GetBValue(corner), 100);
    int dark = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            dark += GetRValue(pixel(x, y)) < 60 && GetGValue(pixel(x, y)) < 60;
    EXPECT_GT(dark, 60) << "black lettering";
}

TEST_F(ProductTest, BannerIs303By77With256Colours)
{
    std::string bitmap = Resource(RT_BITMAP, MAKEINTRESOURCEA(IDB_BANNER));
    BITMAPINFOHEADER header;
    ASSERT_GE(bitmap.size(), sizeof header);
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(303, header.biWidth);
    EXPECT_EQ(77, header.biHeight);
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
    EXPECT_EQ(2834, header.biXPelsPerMeter);
    EXPECT_EQ(2834, header.biYPelsPerMeter);
    EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 256);
    EXPECT_EQ(sizeof header + 256 * 4 + 304 * 77, bitmap.size());
}

TEST_F(ProductTest, StringTableHoldsTheMessages)
{
    struct Case
    {
        UINT id;
        const char* text;
    } cases[] = {
        {IDS_REGISTRY_ERROR, "There has been an error accessing the registry."},
        {IDS_PROFILE_ERROR, "There has been an error writing the shell setting to system.ini."},
        {IDS_SHELL_NOT_FOUND, "The program %s could not be found. If it cannot be started at your next logon, "
                              "Windows will show no desktop. Change the shell anyway?"},
        {IDS_SETTINGS_SAVED, "The new settings have been saved.  Log off and back on to activate the new shell."},
    };
    for (const Case& c : cases)
    {
        char text[1024] = "";
        EXPECT_GT(LoadStringA(module, c.id, text, sizeof text), 0) << c.id;
        EXPECT_STREQ(c.text, text);
    }
}

TEST_F(ProductTest, MainDialogTemplate)
{
    const DWORD listStyle = Child | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                            LVS_SORTASCENDING;
    ExpectTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN)),
                   {0x10CA08D4, 0, 0, 381, 240, "Orvantis",
                    {
                        {-1, "button", "Select a Shell", 7, 87, 367, 100, Child | BS_GROUPBOX},
                        {IDC_SHELL_LIST, "syslistview32", "List1", 15, 99, 348, 61, listStyle},
                        {IDC_NEW_SHELL, "button", "&New Shell", 15, 166, 50, 14, PushButton},
                        {IDC_EDIT_SHELL, "button", "&Edit Shell", 73, 166, 50, 14, PushButton},
                        {IDC_DELETE_SHELL, "button", "&Delete Shell", 131, 166, 50, 14, PushButton},
                        {IDOK, "button", "Change", 324, 198, 50, 14, PushButton},
                        {IDCANCEL, "button", "Close", 324, 219, 50, 14, PushButton},
                        {-1, "static", "#102", 89, 7, 202, 47, Child | SS_BITMAP | SS_REALSIZEIMAGE},
                        {-1, "static", "*", 7, 198, 120, 35, Child | WS_GROUP | SS_SUNKEN | SS_LEFT},
                        {-1, "static", "*", 135, 198, 176, 35, Child | WS_GROUP | SS_SUNKEN | SS_LEFT | SS_NOPREFIX},
                        {-1, "button", "Current Shell", 7, 58, 367, 25, Child | BS_GROUPBOX},
                        {IDC_CURRENT_SHELL, "static", "Current Shell", 15, 69, 351, 8, Child | WS_GROUP | SS_LEFT},
                    }});
}

TEST_F(ProductTest, CreditsHaveFourLinesWithReservedAddresses)
{
    std::string data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN));
    std::string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        text += data[i + 1] == 0 && data[i] != 0 ? data[i] : '\x01';
    size_t at = text.find("@example.org");
    ASSERT_NE(std::string::npos, at);
    size_t start = text.rfind('\x01', at) + 1;
    size_t end = text.find('\x01', at);
    std::string credits = text.substr(start, end - start);
    EXPECT_EQ(3, std::count(credits.begin(), credits.end(), '\n')) << credits;
    EXPECT_EQ(std::string::npos, credits.find('\r'));
    EXPECT_NE(std::string::npos, credits.find("www.example.org"));
}

TEST_F(ProductTest, EntryEditorTemplate)
{
    const DWORD label = Child | WS_GROUP | SS_LEFT;
    const DWORD field = Child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    ExpectTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_EDIT_SHELL)),
                   {0x80C800C0, 0, 0, 355, 46, "Add/Change Shell",
                    {
                        {-1, "static", "Shell &Path:", 7, 7, 35, 8, label},
                        {IDC_SHELL_PATH, "edit", "", 51, 7, 237, 12, field},
                        {IDC_BROWSE, "button", "&Browse..", 298, 5, 50, 14, PushButton},
                        {-1, "static", "Shell &Name:", 7, 27, 40, 9, label},
                        {IDC_SHELL_NAME, "edit", "", 51, 25, 76, 12, field},
                        {IDOK, "button", "OK", 298, 25, 50, 14, Child | WS_TABSTOP | BS_DEFPUSHBUTTON},
                        {IDCANCEL, "button", "Cancel", 241, 25, 50, 14, PushButton},
                    }});
}

TEST_F(ProductTest, ManifestAsksForHighestAvailableAndNothingElse)
{
    std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(std::string::npos, manifest.find("Common-Controls"));
    EXPECT_EQ(std::string::npos, manifest.find("dpiAware"));
    EXPECT_EQ(std::string::npos, manifest.find("dpiAwareness"));

    // Windows' own manifest parser reads the run level.
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    std::string path = ProductPath();
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE activation = CreateActCtxA(&context);
    ASSERT_NE(INVALID_HANDLE_VALUE, activation) << "the manifest does not parse: " << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, activation, NULL, RunlevelInformationInActivationContext, &runLevel,
                             sizeof runLevel, &written));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_HIGHEST_AVAILABLE, runLevel.RunLevel);
    EXPECT_EQ(0u, runLevel.UiAccess);
    ReleaseActCtx(activation);
}
