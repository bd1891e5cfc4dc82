#include "CatalogueFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

ShellCatalogue CatalogueOf(std::initializer_list<const char*> names)
{
    ShellCatalogue catalogue;
    for (const char* name : names)
        catalogue.Append(MakeEntry(name, name));
    return catalogue;
}

std::vector<std::string> NamesOf(const ShellCatalogue& catalogue)
{
    std::vector<std::string> names;
    for (unsigned i = 0; i < catalogue.Size(); ++i)
        names.push_back(catalogue.At(static_cast<int>(i)).name);
    return names;
}

// Each test starts and ends without a catalogue file beside the executable.
class CatalogueFileTest : public ::testing::Test
{
protected:
    void SetUp() override { Remove(); }
    void TearDown() override { Remove(); }

    static void Remove()
    {
        SetFileAttributesA(CatalogueFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(CatalogueFilePath().c_str());
        for (const std::string& name : FilesMatching(ModuleDirectory() + "Vh*.tmp"))
            DeleteFileA((ModuleDirectory() + name).c_str());
    }

    static std::string TwoRecords()
    {
        return RecordBytes(MakeEntry("Alt Shell", "C:\\Shells\\alt.exe", '\x11')) +
               RecordBytes(MakeEntry("Other", "C:\\Other\\other.exe -desktop", '\x22'));
    }
};

} // namespace

TEST(ShellCatalogueTest, EraseMovesLaterEntriesDownInOrder)
{
    struct Case
    {
        int index;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {"b", "c", "d"}},
        {1, {"a", "c", "d"}},
        {3, {"a", "b", "c"}},
    };
    for (const Case& c : cases)
    {
        ShellCatalogue catalogue = CatalogueOf({"a", "b", "c", "d"});
        catalogue.Erase(c.index);
        EXPECT_EQ(c.expected, NamesOf(catalogue)) << "erasing " << c.index;
    }
}

TEST(ShellCatalogueTest, AtOutsideTheCatalogueThrows)
{
    ShellCatalogue empty;
    ShellCatalogue three = CatalogueOf({"a", "b", "c"});
    struct Case
    {
        ShellCatalogue* catalogue;
        int index;
    } cases[] = {{&empty, 0}, {&three, 3}, {&three, -1}, {&three, 0x7FFFFFFF}};
    for (const Case& c : cases)
    {
        try
        {
            c.catalogue->At(c.index);
            ADD_FAILURE() << "no exception for index " << c.index;
        }
        catch (const std::out_of_range& error)
        {
            EXPECT_STREQ("invalid vector<T> subscript", error.what());
        }
    }
    EXPECT_STREQ("c", three.At(2).name);
}

TEST(ShellCatalogueTest, AppendCopiesAllBytesAndClearEmpties)
{
    ShellCatalogue catalogue;
    ShellEntry entry = MakeEntry("", "", '\x7E');
    catalogue.Append(entry);
    EXPECT_EQ(RecordBytes(entry), RecordBytes(catalogue.At(0)));
    catalogue.Clear();
    EXPECT_EQ(0u, catalogue.Size());
    catalogue.Release();
    EXPECT_EQ(0u, catalogue.Size());
}

TEST_F(CatalogueFileTest, ModuleDirectoryEndsInABackslash)
{
    char buffer[MAX_PATH];
    ASSERT_TRUE(GetModuleDirectory(buffer, MAX_PATH));
    EXPECT_EQ(ModuleDirectory(), buffer);

    char path[MAX_PATH];
    ASSERT_TRUE(GetCatalogueFilePath(path));
    EXPECT_EQ(CatalogueFilePath(), path);
}

TEST_F(CatalogueFileTest, ModuleDirectoryFromATooSmallBufferFails)
{
    char buffer[8];
    EXPECT_FALSE(GetModuleDirectory(buffer, sizeof buffer));
    EXPECT_LT(lstrlenA(buffer), 8);
}

TEST_F(CatalogueFileTest, LoadReadsWholeRecordsAfterTheBuiltInEntry)
{
    const std::string records = TwoRecords();
    struct Case
    {
        const char* what;
        bool fileExists;
        std::string bytes;
        std::vector<std::string> names;
    } cases[] = {
        {"no file", false, "", {"Microsoft Explorer"}},
        {"empty file", true, "", {"Microsoft Explorer"}},
        {"319 bytes", true, records.substr(0, 319), {"Microsoft Explorer"}},
        {"640 bytes", true, records, {"Microsoft Explorer", "Alt Shell", "Other"}},
        {"700 bytes", true, records + records.substr(0, 60), {"Microsoft Explorer", "Alt Shell", "Other"}},
    };
    for (const Case& c : cases)
    {
        Remove();
        if (c.fileExists)
            WriteFileBytes(CatalogueFilePath(), c.bytes);

        ShellCatalogue catalogue = CatalogueOf({"stale"});
        LoadCatalogue(catalogue);
        EXPECT_EQ(c.names, NamesOf(catalogue)) << c.what;
        EXPECT_STREQ("explorer.exe", catalogue.At(0).path) << c.what;
        if (catalogue.Size() == 3)
        {
            EXPECT_EQ(records.substr(0, 320), RecordBytes(catalogue.At(1))) << c.what;
            EXPECT_EQ(records.substr(320, 320), RecordBytes(catalogue.At(2))) << c.what;
        }
    }
}

TEST_F(CatalogueFileTest, UnchangedCatalogueIsSavedBackByteForByte)
{
    const std::string records = TwoRecords();
    WriteFileBytes(CatalogueFilePath(), records);

    ShellCatalogue catalogue;
    LoadCatalogue(catalogue);
    SaveCatalogue(catalogue);
    EXPECT_EQ(records, ReadFileBytes(CatalogueFilePath()));
}

TEST_F(CatalogueFileTest, TrailingPartialRecordIsDroppedAtTheNextSave)
{
    const std::string records = TwoRecords();
    WriteFileBytes(CatalogueFilePath(), records + std::string(60, '\x33'));

    ShellCatalogue catalogue;
    LoadCatalogue(catalogue);
    SaveCatalogue(catalogue);
    EXPECT_EQ(records, ReadFileBytes(CatalogueFilePath()));
}

TEST_F(CatalogueFileTest, FieldsWithoutTerminatorAreCutAtTheirLastByte)
{
    std::string record(60, 'N');
    record += std::string(260, 'P');
    WriteFileBytes(CatalogueFilePath(), record);

    ShellCatalogue catalogue;
    LoadCatalogue(catalogue);
    ASSERT_EQ(2u, catalogue.Size());
    EXPECT_EQ(std::string(59, 'N'), catalogue.At(1).name);
    EXPECT_EQ(std::string(259, 'P'), catalogue.At(1).path);
}

TEST_F(CatalogueFileTest, SaveWritesUserEntriesOnlyAndLeavesNoTemporaryFile)
{
    struct Case
    {
        const char* what;
        std::vector<ShellEntry> userEntries;
    } cases[] = {
        {"only the built-in entry", {}},
        {"one entry", {MakeEntry("alt", "C:\\Shells\\alt.exe")}},
        {"empty texts", {MakeEntry("", ""), MakeEntry("x", "")}},
    };
    for (const Case& c : cases)
    {
        Remove();
        ShellCatalogue catalogue;
        LoadCatalogue(catalogue);
        std::string expected;
        for (const ShellEntry& entry : c.userEntries)
        {
            catalogue.Append(entry);
            expected += RecordBytes(entry);
        }
        SaveCatalogue(catalogue);
        EXPECT_TRUE(FileExists(CatalogueFilePath())) << c.what;
        EXPECT_EQ(expected, ReadFileBytes(CatalogueFilePath())) << c.what;
        EXPECT_TRUE(FilesMatching(ModuleDirectory() + "Vh*.tmp").empty()) << c.what;
    }
}

TEST_F(CatalogueFileTest, SaveThatCannotReplaceTheFileLeavesItWhole)
{
    const std::string records = TwoRecords();
    ShellCatalogue catalogue;
    catalogue.Append(MakeEntry("Microsoft Explorer", "explorer.exe"));
    catalogue.Append(MakeEntry("new", "C:\\new.exe"));

    // Another program holds the file open and shares no writing.
    WriteFileBytes(CatalogueFilePath(), records);
    HANDLE holder = CreateFileA(CatalogueFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    SaveCatalogue(catalogue);
    CloseHandle(holder);
    EXPECT_EQ(records, ReadFileBytes(CatalogueFilePath())) << "file held open";

    SetFileAttributesA(CatalogueFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    SaveCatalogue(catalogue);
    EXPECT_EQ(records, ReadFileBytes(CatalogueFilePath())) << "read-only file";
    EXPECT_TRUE(FilesMatching(ModuleDirectory() + "Vh*.tmp").empty());
}

TEST_F(CatalogueFileTest, AFolderNamedLikeTheFileIsNeitherReadNorReplaced)
{
    ASSERT_TRUE(CreateDirectoryA(CatalogueFilePath().c_str(), NULL));
    ShellCatalogue catalogue;
    LoadCatalogue(catalogue);
    EXPECT_EQ(1u, catalogue.Size());
    catalogue.Append(MakeEntry("new", "C:\\new.exe"));
    SaveCatalogue(catalogue);
    DWORD attributes = GetFileAttributesA(CatalogueFilePath().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(FilesMatching(ModuleDirectory() + "Vh*.tmp").empty());
    RemoveDirectoryA(CatalogueFilePath().c_str());
}
