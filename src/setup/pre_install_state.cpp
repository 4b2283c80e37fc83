#include "setup/pre_install_state.h"
#include "core/error_status.h"
#include "core/setup_context.h"
#include "install/made_folders.h"
#include "install/registry.h"

static const char ProductKey[] = "Software\\Corvantis Vandrel";
static const char VersionValue[] = "EULAVersion";

void RememberPreInstallState(PreInstallState* state)
{
    ZeroMemory(state, sizeof *state);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    state->productKeyFound = TRUE;
    state->versionSize = sizeof state->version;
    LONG result = RegQueryValueExA(key, VersionValue, NULL, &state->versionType, state->version, &state->versionSize);
    state->versionFound = result == ERROR_SUCCESS;
    state->versionTooLong = result == ERROR_MORE_DATA;
    RegCloseKey(key);
}

void RestorePreInstallState(const PreInstallState* state, const SetupContext* context)
{
    // Failures change nothing for the user, who cancelled: what can be put back is.
    ErrorStatus status = { 0, "" };
    if (!state->productKeyFound) {
        DeleteRegTree(HKEY_LOCAL_MACHINE, &status, KEY_READ | KEY_WRITE, ProductKey, (const char*)NULL);
    } else if (state->versionTooLong) {
        // Not known well enough to be written back.
    } else if (!state->versionFound) {
        DeleteRegValue(HKEY_LOCAL_MACHINE, &status, KEY_READ | KEY_WRITE, ProductKey, VersionValue);
    } else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegSetValueExA(key, VersionValue, 0, state->versionType, state->version, state->versionSize);
            RegCloseKey(key);
        }
    }
    RemoveMadeFolders(context->installDir, context->madeFolder);
}
