// Unique names: files, folders and named pipes made under a generated name in a folder, and the
// program's temporary folder "/var/tmp/" with fresh names in it.
#pragma once

#include "foundation/platform/FileLocation.h"

// directory + "/" + prefix + six generated characters, made with mode 0600 (a file) or 0700 (a
// folder). A failure, or a name of 1024 bytes or more, throws CreateUniqueFileLocationFailed.
[[nodiscard]] FileLocation CreateUniqueFile(const FileLocation& directory,
                                            const AutoUString<UTF8>& prefix);
[[nodiscard]] FileLocation CreateUniqueDirectory(const FileLocation& directory,
                                                 const AutoUString<UTF8>& prefix);
// A named pipe (mode 0666 under the umask) in the location, or in its parent when the location
// is not a folder.
[[nodiscard]] FileLocation CreateUniqueFifo(const FileLocation& location,
                                            const AutoUString<UTF8>& prefix);

// "/var/tmp/", which callers make sure of with ForceDirectoryPath.
[[nodiscard]] FileLocation TempDirectory();
[[nodiscard]] FileLocation UniqueTempFile(const AutoUString<UTF8>& prefix);
[[nodiscard]] FileLocation UniqueTempFifo(const AutoUString<UTF8>& prefix);
// UniqueTempFile with "vantrel" for an empty prefix; false instead of an exception.
[[nodiscard]] bool TryUniqueTempFile(const AutoUString<UTF8>& prefix, FileLocation& result);
// A fresh name beginning "temp" with nothing at it: in the temporary folder, or in the location
// (its parent when the location is not a folder).
[[nodiscard]] FileLocation NewTempName();
[[nodiscard]] FileLocation NewTempNameNear(const FileLocation& location);
