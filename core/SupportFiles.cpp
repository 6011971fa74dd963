#include "core/SupportFiles.h"

#include "foundation/data/Base64DecodingDataMaker.h"
#include "foundation/data/LineMaker.h"
#include "foundation/data/VectorAppender.h"
#include "foundation/platform/FileDataSink.h"
#include "foundation/platform/FileIOError.h"
#include "foundation/platform/FileLocation.h"
#include "foundation/platform/FileOperations.h"
#include "foundation/platform/FileReader.h"
#include "foundation/platform/FileStatus.h"
#include "foundation/platform/FileWritingPath.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/OverrideTable.h"

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace {

void PrepareFolder(const FileLocation& folder) {
  if (Exists(folder)) {
    DeleteContentsNow(folder);
  } else {
    ForceDirectoryPath(folder);
  }
}

enum class Names { kFile, kFolder };

// The folder is the program's to empty and fill, and nothing outside it is: a name that is
// absolute or climbs out through "..", or a FileName that names a folder rather than a file, is
// refused before anything is written.
void RequireNameInsideFolder(const UString8& name, Names names) {
  const std::string text(name.begin(), name.end());
  bool refused = !text.empty() && text.front() == '/';
  std::string::size_type begin = 0;
  std::string last;
  for (;;) {
    const std::string::size_type slash = text.find('/', begin);
    last = text.substr(begin, slash == std::string::npos ? std::string::npos : slash - begin);
    if (last == "..") refused = true;
    if (slash == std::string::npos) break;
    begin = slash + 1;
  }
  if (names == Names::kFile && (last.empty() || last == ".")) refused = true;
  if (refused) throw InvalidFileLocation(name, EINVAL);
}

void WriteSupportFile(const FileLocation& base, const SupportFile& file) {
  FileLocation folder = base;
  if (!file.subFolder.empty()) {
    folder = Child(base, file.subFolder);
    // The folder was just emptied, so a subfolder the client names cannot exist yet.
    if (!Exists(folder)) ForceDirectoryPath(folder);
  }
  UnixPlatform::FileWritingPath path(Child(folder, file.fileName),
                                     UnixPlatform::FileWritingPath::Opening::kCreateOrTruncate);
  FileDataSink sink(path);
  Base64DecodingDataMaker decoder(sink);
  LineMaker lines(decoder);
  lines.StartData(0);
  lines.Receive(file.content.begin(), file.content.end());
  lines.EndData();
  path.Close();
}

UString8 Concatenated(std::initializer_list<const UString8*> parts) {
  UString8 result;
  for (const UString8* part : parts) result.Append(*part);
  return result;
}

// File names are compared as locations are: byte for byte.
bool IsRootSupportFile(const std::vector<SupportFile>& files, const UString8& name) {
  return std::any_of(files.begin(), files.end(), [&](const SupportFile& file) {
    return file.subFolder.empty() && Compare(FileLocation(file.fileName), FileLocation(name)) == 0;
  });
}

// The first of prefix + locale + ".xlat" for each locale name that is among the files.
std::optional<UString8> FindLocalised(const std::vector<SupportFile>& files, const UString8& prefix,
                                      const std::vector<UString8>& localeNames) {
  static const UString8 kExtension(".xlat");
  for (const UString8& locale : localeNames) {
    UString8 name = Concatenated({&prefix, &locale, &kExtension});
    if (IsRootSupportFile(files, name)) return name;
  }
  return std::nullopt;
}

LoadedTranslation LoadOverrideFile(const FileLocation& location, const UString8& name,
                                   FormatOverrideContext& context) {
  const std::vector<char> bytes = ReadTranslationFile(location);
  LoadedTranslation loaded;
  loaded.table = std::make_unique<OverrideTable>(
      ByteRange(bytes.data(), bytes.data() + bytes.size()), ByteRange(name));
  loaded.scope = std::make_unique<FormatOverrideScope>(*loaded.table, context);
  return loaded;
}

// The names to load, in loading order: the localised brand file or else "_brand.xlat", then the
// localised translation file; absent ones are left out.
std::vector<UString8> ChooseTranslationFiles(const std::vector<SupportFile>& files,
                                             bool localeInUse, const UString8& localeName) {
  std::vector<UString8> localeNames;
  if (localeInUse && !localeName.empty()) {
    localeNames.push_back(localeName);
    const char* underscore = std::find(localeName.begin(), localeName.end(), '_');
    if (underscore != localeName.end()) localeNames.emplace_back(localeName.begin(), underscore);
  }
  static const UString8 kBrandPrefix("_brand");
  static const UString8 kBrandFile("_brand.xlat");
  static const UString8 kNoPrefix;

  std::vector<UString8> chosen;
  if (auto brand = FindLocalised(files, kBrandPrefix, localeNames)) {
    chosen.push_back(std::move(*brand));
  } else if (IsRootSupportFile(files, kBrandFile)) {
    chosen.push_back(kBrandFile);
  }
  if (auto translation = FindLocalised(files, kNoPrefix, localeNames)) {
    chosen.push_back(std::move(*translation));
  }
  return chosen;
}

}  // namespace

std::vector<char> ReadTranslationFile(const FileLocation& location) {
  std::vector<char> bytes;
  UnixPlatform::FileReadingPath path(location);
  VectorAppender appender(bytes);
  ReadFileInto(path, appender);
  path.Close();
  return bytes;
}

void WriteSupportFiles(const UString8& baseDirectory, const std::vector<SupportFile>& files) {
  const FileLocation base(baseDirectory);
  for (const SupportFile& file : files) {
    RequireNameInsideFolder(file.fileName, Names::kFile);
    RequireNameInsideFolder(file.subFolder, Names::kFolder);
  }
  PrepareFolder(base);
  for (const SupportFile& file : files) WriteSupportFile(base, file);
}

LoadedTranslations LoadTranslationFiles(const UString8& baseDirectory,
                                        const std::vector<SupportFile>& files, bool localeInUse,
                                        const UString8& localeName,
                                        FormatOverrideContext& context) {
  const FileLocation base(baseDirectory);
  LoadedTranslations loaded;
  for (const UString8& name : ChooseTranslationFiles(files, localeInUse, localeName)) {
    loaded.push_back(LoadOverrideFile(Child(base, name), name, context));
  }
  return loaded;
}
