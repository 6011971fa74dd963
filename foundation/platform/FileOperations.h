// The named operations on files and folders. Those taking a FileRetryLog retry transient
// failures on the file schedule (see FileRetryLog.h) under the name given in their comment;
// the others make one attempt. Failures are the file errors, carrying the location's display
// text and errno.
#pragma once

#include "foundation/platform/FileLocation.h"
#include "foundation/platform/FileRetryLog.h"

#include <sys/types.h>

// "CreateFile": an empty file; something already there throws FileFoundError. With 0666 the
// umask decides the permissions, any other mode is set exactly.
void CreateFile(const FileLocation& location, mode_t mode, FileRetryLog& log = SilentRetryLog());
// "CreateDirectory": one folder; something there throws DirectoryFoundError.
void CreateDirectory(const FileLocation& location, mode_t mode,
                     FileRetryLog& log = SilentRetryLog());
// "DeleteDirectory": an empty folder, or a link to a folder (the link goes, not the folder).
void DeleteDirectory(const FileLocation& location, FileRetryLog& log = SilentRetryLog());
// "DeleteFile": a file or a link.
void DeleteFile(const FileLocation& location, FileRetryLog& log = SilentRetryLog());
// "MoveFile": rename, or across file systems copy and delete; the destination must be free.
void MoveFile(const FileLocation& from, const FileLocation& to,
              FileRetryLog& log = SilentRetryLog());
// "CopyFile": a regular file to a name where nothing is.
void CopyFile(const FileLocation& from, const FileLocation& to,
              FileRetryLog& log = SilentRetryLog());
// "ForceDirectoryExistence": a folder there, mode 0777; parents are not made.
void ForceDirectoryExistence(const FileLocation& location, FileRetryLog& log = SilentRetryLog());
// "ForceDirectoryExistenceWithInfo": the same with the caller's mode.
void ForceDirectoryExistenceWithInfo(const FileLocation& location, mode_t mode,
                                     FileRetryLog& log = SilentRetryLog());
// "ForceNonexistence": nothing there afterwards; a non-empty folder fails with rmdir's error.
void ForceNonexistence(const FileLocation& location, FileRetryLog& log = SilentRetryLog());
// "ForceMoveFile": move, replacing what is at the destination.
void ForceMoveFile(const FileLocation& from, const FileLocation& to,
                   FileRetryLog& log = SilentRetryLog());
// "ForceCopyFile": copy, replacing what is at the destination.
void ForceCopyFile(const FileLocation& from, const FileLocation& to,
                   FileRetryLog& log = SilentRetryLog());
// "DeleteContents": everything inside the folder, never following links; nothing there is fine.
void DeleteContents(const FileLocation& location, FileRetryLog& log = SilentRetryLog());
// "DeleteRecursive": the folder and everything inside it; nothing there is fine.
void DeleteRecursive(const FileLocation& location, FileRetryLog& log = SilentRetryLog());

// The folder and any missing parents, mode 0777; something other than a folder in the way
// throws FileFoundError.
void ForceDirectoryPath(const FileLocation& location);
// One mkdir with mode 0777.
void CreateDirectoryNow(const FileLocation& location);
// DeleteContents and DeleteRecursive in a single attempt.
void DeleteContentsNow(const FileLocation& location);
void DeleteRecursiveNow(const FileLocation& location);
// A named pipe; something there throws FileFoundError.
void CreateFifo(const FileLocation& location, mode_t mode);
