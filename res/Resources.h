#pragma once

// Texts the program shows that are not part of a single dialog's layout.

namespace res {

// The application's title: the caption of its notices.
inline constexpr const char* kAppTitle = "Mirawen";

// The maker's web address, as the link at the foot of the window and the
// About box show it: a bare host name.
inline constexpr const char* kMakerWebAddress = "mirawen.example.org";

// The entry that opens the About box; "&A" makes A its access key. An empty
// text leaves the entry out.
inline constexpr const char* kAboutMenuText = "关于 Mirawen(&A)...";

inline constexpr const char* kCopyright = "Copyright (C) 2026 Mirawen";

// The face of the phonetic font file.
inline constexpr const char* kPhoneticFontFamily = "TOPhonetic";

// Images compiled into the program (Qt resources).
inline constexpr const char* kIcon32 = ":/res/mirawen-32.png";
inline constexpr const char* kIcon16 = ":/res/mirawen-16.png";
inline constexpr const char* kKeyChart = ":/res/keychart.png";

} // namespace res
