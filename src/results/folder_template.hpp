// The name of a result folder, made from a template whose tokens stand for
// the setup file, its folder, the user, the date and a free variable. The
// environment can replace the template and supplies the user and the variable;
// it is read afresh at every expansion.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zem {

// Environment variables read by the expansion.
inline constexpr const char* kTemplateVariable = "QXRESULTFOLDERTEMPLATE";
inline constexpr const char* kFreeVariable = "QXRESVAR";
inline constexpr const char* kUserVariable = "USERNAME";
inline constexpr const char* kPosixUserVariable = "USER";  // taken when USERNAME is not set

inline constexpr std::string_view kDefaultFolderTemplate = "%setup% - Result Files";
// Stands for the setup file's name when there is no setup file at all.
inline constexpr std::string_view kNoSetupName = "Untitled";

// The folder name with a separator on either side ("\\run.txt - Result
// Files\\" when `separator` is a backslash). No `setupFile` means no setup
// file; an empty one is a setup file with an empty name. Fails when the name
// would not fit the path limit at any step.
std::optional<std::string> expandFolderName(std::optional<std::string_view> setupFile, char separator);

// The date as the "%date%" token gives it: two-digit day and English month
// abbreviation ("04Dec"), in local time.
std::string folderDateText();

}  // namespace zem
