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
