// The version of the licence agreement that the user accepted last, kept in the registry
// under the product's key as EULAVersion.
#pragma once
#include <windows.h>

struct ErrorStatus;

// True when the agreement must be shown again: nothing accepted yet (a stored value holding
// "no", or none at all), or [Setup] EULAVersion is a greater number than the stored one.
bool AgreementVersionIsNewer(char* script, ErrorStatus* status);

// Writes [Setup] EULAVersion (empty when missing) as the accepted version.
void StoreAcceptedAgreementVersion(char* script, ErrorStatus* status);
