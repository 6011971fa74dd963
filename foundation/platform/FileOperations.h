// The operations on folders the program makes: making a folder path and emptying a folder.
// Failures are the file errors, carrying the location's display text and errno.
#pragma once

#include "foundation/platform/FileLocation.h"

// The folder and any missing parents, mode 0777; something other than a folder in the way
// throws FileFoundError.
void ForceDirectoryPath(const FileLocation& location);
// Everything inside the folder, never following links; nothing there is fine, something other
// than a folder throws DirectoryNotFoundError.
void DeleteContentsNow(const FileLocation& location);
