// The window's pictures and pages, kept as Qt resources.
#pragma once

namespace vtq {

// Resource paths.
inline constexpr const char* kProgramIconPath = ":/artwork/program_icon.png";
inline constexpr const char* kListBackgroundPath = ":/artwork/list_background.png";
inline constexpr const char* kManualUrl = "qrc:/help/manual.html";

// Registers the resources compiled into the window library (a static library
// would otherwise drop them at link time). Called once, at start-up.
void initWindowResources();

}  // namespace vtq
