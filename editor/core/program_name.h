// The editor's name, which the temporary files of its saves and wave files
// carry (".cues.qtd.vtqedit-XXXXXX"), so that what a killed run left can be
// recognised. The window and the batch mode are one program.
#pragma once

namespace vtq {

inline constexpr const char* kProgramName = "vtqedit";

}  // namespace vtq
