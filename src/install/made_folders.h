// The folders that setup makes for the installation folder before its install run starts
// (the destination page makes a missing folder after asking), so that a cancel before
// anything is copied can take them away again.
#pragma once
#include <windows.h>

// The outermost folder of the path that does not exist yet (the path itself when only its
// last folder is missing); empty when every folder exists or the path is not a valid folder.
void FindOutermostMissingFolder(const char* path, char* buffer /* MAX_PATH */);

// Removes the installation folder and its parents up to and including the outermost made
// one, from the inside out, each only while it is empty. Nothing when made is empty or is not
// the installation folder or one of its parents.
void RemoveMadeFolders(const char* installDir, const char* made);
