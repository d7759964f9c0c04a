#include "script_files.h"

#include <string>

#include "convert/foundation/project_file.h"

namespace voconv {

ScriptFiles loadScriptFiles(const ScriptModel& script, const BasePaths& basePaths) {
  ScriptFiles files;
  for (size_t i = 0; i < script.steps.size(); ++i) {
    const auto* object = std::get_if<ObjectStep>(&script.steps[i].what);
    if (!object || object->idOnly || (object->kind != IdKind::Keymap && object->kind != IdKind::Layer)) continue;
    LoadedFile& file = files.byStep[i];
    file.path = basePaths.resolve(object->fileName);
    std::string error;
    file.read = !object->fileName.empty() && readProjectFile(file.path, file.bytes, error);
  }
  return files;
}

}  // namespace voconv
