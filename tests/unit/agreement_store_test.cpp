// Storing the accepted agreement version when the product's key cannot be written.
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "wizard/agreement_version.h"

// The key exists with a DACL that denies every access, so that neither creating it for
// writing nor setting its value can succeed; the handle that set the DACL puts it back.
TEST(StoreAcceptedAgreementVersion, AKeyThatCannotBeWrittenIsASetValueFailure)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Corvantis Vandrel", 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
    PSECURITY_DESCRIPTOR deny, allow;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;KA;;;WD)", SDDL_REVISION_1, &deny, NULL));
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &allow, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, deny));

    char script[] = "[Setup]\r\nEULAVersion=7\r\n";
    ErrorStatus status = { 0, "" };
    StoreAcceptedAgreementVersion(script, &status);

    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, allow);
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Corvantis Vandrel");
    LocalFree(deny);
    LocalFree(allow);
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, status.code);
    EXPECT_EQ("Unable to set registry value (EULAVersion)", std::string(status.text).substr(strcspn(status.text, "\n") + 1));
}
