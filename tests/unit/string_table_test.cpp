// Every string of the shipped setup.exe, loaded from the built program and compared with the
// text it must have, so that a typo in the table is caught.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>

struct Expected {
    unsigned id;
    const char* text;
};

static const Expected Table[] = {
    { 1, "SetupWindow" },
    { 2, "The folder\n%s\ndoes not exist. Do you want the folder to be created?" },
    { 3, "That file system is invalid. Please choose or enter another folder." },
    { 4, "%ssetup.ini" },
    { 5, "%slicense.txt" },
    { 6, "InstallFiles" },
    { 7, "That file system is write-protected. Please choose or enter another folder." },
    { 8, "Please choose the installation folder." },
    { 9, "setup.exe" },
    { 10, "ProgramFilesDir" },
    { 11, "There is already a file using that folder name. Please choose or enter another folder." },
    { 12, "Unable to copy file (\"%s\" to \"%s\")" },
    { 13, "You have chosen to end setup without restarting Windows. The removal will be completed next time Windows is restarted." },
    { 14, "The destination folder that you have entered is invalid. Please choose or enter another folder." },
    { 15, "Windows must be restarted to complete the installation. Do you want to restart Windows now?" },
    { 16, "Windows must be restarted to complete the removal. Do you want to restart Windows now?" },
    { 17, "You have chosen to end setup without restarting Windows. The installation will be completed next time Windows is restarted." },
    { 18, "Unable to load string (%u)" },
    { 23, "Unable to open registry key (%s)" },
    { 24, "Unable to query registry value (%s)" },
    { 25, "Unable to display dialog box (%u)" },
    { 26, "Unable to load icon (%u)" },
    { 27, "Unable to delete registry value (%s)" },
    { 28, "Unable to set registry value (%s)" },
    { 29, "%sinstall.txt" },
    { 30, "Windows must be restarted to complete the update. Do you want to restart Windows now?" },
    { 31, "You have chosen to end setup without restarting Windows. The update will be completed next time Windows is restarted." },
    { 32, "%sExamples" },
    { 35, "Removing %s..." },
    { 38, "Software" },
    { 39, "Quernell" },
    { 40, "VerQueryValue(%s) failed" },
    { 41, "1.0" },
    { 45, "Warning" },
    { 46, "There is not enough free disk space to complete the installation.\r\nSpace required: %lu KB\r\nSpace available: %lu KB\r\nPlease free up some disk space." },
    { 47, "Unable to open file (%s)" },
    { 48, "Removing shortcuts..." },
    { 49, "Unable to delete registry key (%s)" },
    { 50, "Unable to enumerate registery key" },
    { 60, "Unregistering %s..." },
    { 61, "Installing %s..." },
    { 62, "%s" },
    { 63, "Updating the registry..." },
    { 64, "Registering %s..." },
    { 65, "InstallShortcuts" },
    { 66, "Creating shortcuts..." },
    { 67, "Unable to get module file name" },
    { 68, "GetFileVersionInfoSize(%s) failed" },
    { 69, "GetFileVersionInfo(%s) failed" },
    { 70, "\\VarFileInfo\\Translation" },
    { 71, "iexplore.exe" },
    { 72, "Microsoft Internet Explorer" },
    { 73, "Setup has determined that %s is currently running. It is recommended that you close %s before Setup continues." },
    { 75, "Setup cannot update %s because of an error. To repair the error, it is recommended that you remove %s then run setup again to install it. Do you want to remove %s now?" },
    { 76, "The error was:\n%s\n\nSetup will now exit." },
    { 81, "Setup cannot install %s because of an error. Setup will now exit.\nThe error was:\n%s" },
    { 82, "Warning: Could not register program \"%s\". Verify that you have write access to the registry." },
    { 83, "Warning: Could not register DLL \"%s\". Verify that you have write access to the registry. (Error: %08lx)" },
    { 84, "Warning: Could not unregister program \"%s\". Verify that you have write access to the registry." },
    { 85, "Warning: Could not register DLL \"%s\". Verify that you have write access to the registry. (Error: %08lx)" },
    { 86, "InstallDirs" },
    { 87, "Creating desktop shortcut..." },
    { 100, "Corvantis Vandrel Setup" },
    { 101, "Corvantis Vandrel (64-bit)" },
    { 102, "%s\\\\Corvantis Vandrel" },
    { 103, "Corvantis Vandrel has been successfully installed. If Internet Explorer is running it may need to be restarted to make Corvantis Vandrel available from Internet Explorer." },
    { 104, "Corvantis Vandrel has been successfully removed." },
    { 105, "Corvantis Vandrel" },
    { 106, "Corvantis Vandrel has been successfully updated." },
    { 107, "Vandrel Setup" },
    { 111, "InstallFileTypes" },
    { 112, "Vandrel" },
    { 113, "ProductName" },
    { 114, "Zarn Image Viewer" },
    { 115, "Zarn Image Viewer Setup" },
    { 116, "Zarn Image Viewer has been successfully installed. If Internet Explorer is running it may need to be restarted to make Zarn Image Viewer available from Internet Explorer." },
    { 117, "Zarn Image Viewer has been successfully updated." },
    { 118, "Zarn Image Viewer has been successfully removed." },
    { 119, "%s\\\\Zarn Image Viewer" },
    { 123, "Quernell Vandrel (64-bit)" },
    { 124, "Corvantis Corporation Limited" },
    { 300, "Please select a program folder" },
    { 301, "Program Folder" },
    { 302, "Warning: Could not create shortcut folder \"%s\". Verify that the destination folder exists and that you can access it." },
    { 303, "Warning: Could not create shortcut \"%s\". Verify that the destination folder exists and that you can access it." },
    { 320, "The install log is damaged and was left unchanged (%s)" },
};

static HMODULE LoadSetup()
{
    const char* path = getenv("SETUP_EXE");
    if (!path) return NULL;
    char windowsPath[MAX_PATH];
    // CTest gives a Unix path; Wine maps it through drive Z:.
    if (path[0] == '/') {
        snprintf(windowsPath, sizeof windowsPath, "Z:%s", path);
        for (char* p = windowsPath; *p; p++)
            if (*p == '/') *p = '\\';
        path = windowsPath;
    }
    return LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
}

TEST(ShippedStringTable, EveryIdHasItsExactText)
{
    HMODULE setup = LoadSetup();
    ASSERT_NE(nullptr, setup) << "SETUP_EXE must name the built setup.exe";
    for (const Expected& e : Table) {
        char buffer[1024];
        int length = LoadStringA(setup, e.id, buffer, sizeof buffer);
        EXPECT_EQ((int)strlen(e.text), length) << "string " << e.id;
        EXPECT_STREQ(e.text, buffer) << "string " << e.id;
    }
    // The four addresses are ours to choose, under the reserved example domain.
    for (unsigned id : { 33u, 34u, 120u, 121u }) {
        char buffer[256];
        ASSERT_GT(LoadStringA(setup, id, buffer, sizeof buffer), 0) << id;
        EXPECT_NE(nullptr, strstr(buffer, ".example")) << id << ": " << buffer;
    }
    // Nothing else is in the table.
    int count = 0;
    for (unsigned id = 0; id < 1024; id++) {
        char buffer[8];
        if (LoadStringA(setup, id, buffer, sizeof buffer) > 0) count++;
    }
    EXPECT_EQ((int)(sizeof Table / sizeof Table[0]) + 4, count);
    FreeLibrary(setup);
}

TEST(ShippedMessageTable, HoldsOnlyItsTerminator)
{
    HMODULE setup = LoadSetup();
    ASSERT_NE(nullptr, setup);
    HRSRC resource = FindResourceA(setup, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(10));
    ASSERT_NE(nullptr, resource);
    DWORD size = SizeofResource(setup, resource);
    const BYTE* data = (const BYTE*)LockResource(LoadResource(setup, resource));
    ASSERT_GE(size, 4u);
    EXPECT_EQ(0, data[0] | data[1] | data[2] | data[3]);
    EXPECT_NE(nullptr, FindResourceA(setup, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14))) << "group icon 1";
    HRSRC manifest = FindResourceA(setup, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, manifest);
    std::string text((const char*)LockResource(LoadResource(setup, manifest)), SizeofResource(setup, manifest));
    EXPECT_NE(std::string::npos, text.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, text.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, text.find("requireAdministrator"));
    EXPECT_NE(std::string::npos, text.find("<dpiAware"));
    FreeLibrary(setup);
}
