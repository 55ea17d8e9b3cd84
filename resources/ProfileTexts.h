#pragma once

// Texts of the program's settings and of automatically formed profile names.

namespace quorrel::texts {

// The program's own key under HKEY_LOCAL_MACHINE and its three values.
inline constexpr const char* kSettingsKeyPath = "SOFTWARE\\Varnok\\Quorrel";
inline constexpr const char* kPathValue = "PATH";
inline constexpr const char* kAutoCheckValue = "AutoCheck";
inline constexpr const char* kAdapterNameValue = "AdapterName";

// Title of the folder prompt shown when the registry does not name the install folder.
inline constexpr const char* kInstallFolderPromptTitle = "Quorrel가 설치된 폴더를 선택하십시오.";

// Debugger output lines of the settings reads.
inline constexpr const char* kRegistryOpenError = "레지스트 Open 에러";
inline constexpr const char* kAutoCheckCreated = "레지스트 AutoCheck 키 생성";
inline constexpr const char* kAdapterNameMissing = "AdapterName 항목이 없음";

// Names of profiles taken over from an adapter ("설정[1]", "설정[2]", ...) and of copies
// ("집[1]" for a copy of 집). Each %d is the lowest number from 1 that gives a free name.
inline constexpr const char* kAdoptedProfileNameFormat = "설정[%d]";
inline constexpr const char* kCopyProfileNameFormat = "%s[%d]";

}  // namespace quorrel::texts
