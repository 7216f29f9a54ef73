// The constants that distinguish the three builds. Each executable passes its own record
// to LinkApp; everything else is shared.
#pragma once

struct EditionProfile {
  const char* executableName;       // "Velmora1"
  long appType;                     // the host's application type for SetAppType
  const char* settingsFileName;     // "Velmora1.env"
  const char* programNameFallback;  // UTF-8 source text, written in code page 932
};

extern const EditionProfile kVelmora1;  // standard
extern const EditionProfile kVelmora2;  // multi-user
extern const EditionProfile kVelmora3;  // care-business

inline constexpr const char* kProgramVersion = "21.00.03";  // string resource 1
