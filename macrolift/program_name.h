// macrolift's name, which the temporary files of its rewrites carry
// (".Intro.vqm.macrolift-XXXXXX"), so that what a killed run left can be
// recognised.
#pragma once

namespace macrolift {

inline constexpr const char* kProgramName = "macrolift";

}  // namespace macrolift
