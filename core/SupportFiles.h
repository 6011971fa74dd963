// The client folder: emptying or creating it at initialisation, writing the support files the
// client sent into it, and loading the translation files among them as text overrides. Used once
// per session by the dispatcher; every failure is thrown for it to catch.
#pragma once

#include "core/InitializationInfo.h"
#include "foundation/platform/FileLocation.h"
#include "foundation/text/AutoUString.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <memory>
#include <vector>

// One loaded translation file: its table, and the scope that puts it in force while it lives.
// The context forgets a scope that goes first, and a scope leaves a context that goes first.
struct LoadedTranslation {
  std::unique_ptr<OverrideTable> table;
  std::unique_ptr<FormatOverrideScope> scope;
};
using LoadedTranslations = std::vector<LoadedTranslation>;

// Empties (DeleteContentsNow, one attempt) or creates (ForceDirectoryPath) the folder, then
// writes each support file: line maker -> Base64 decoding stage -> FileDataSink. A SubFolder that
// does not exist is created below the folder with its parents. A FileName or SubFolder that is
// absolute or has a ".." component, or a FileName that names a folder ("", ".", "a/"), throws
// InvalidFileLocation before the folder is touched.
void WriteSupportFiles(const UString8& baseDirectory, const std::vector<SupportFile>& files);

// Chooses the brand and locale translation files among the support files with an empty
// SubFolder (full locale name before the language part) and loads at most two, brand first,
// as text overrides registered with the given context; they stay in force as long as the
// caller keeps what is returned.
[[nodiscard]] LoadedTranslations LoadTranslationFiles(
    const UString8& baseDirectory, const std::vector<SupportFile>& files, bool localeInUse,
    const UString8& localeName, FormatOverrideContext& context = CurrentContext());

// A translation file's bytes, read whole as the loading above reads them; the file errors are
// thrown.
[[nodiscard]] std::vector<char> ReadTranslationFile(const FileLocation& location);
