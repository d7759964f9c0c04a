#include "convert/compile/macro_compilation.h"

namespace voconv {

MacroCompilation::MacroCompilation(TargetObjectList& objects, CompileTarget target)
    : target_(target), index_(ObjectIndex::build(objects, target)), macros_(index_.macros.size()) {
  for (std::size_t i = 0; i < macros_.size(); ++i) macros_[i].id = index_.macros[i]->id;
}

bool MacroCompilation::compileMacro(int, common::Output&) { return false; }

bool MacroCompilation::compileAll(common::Output& out) {
  for (std::size_t i = 0; i < macros_.size(); ++i) {
    if (!compileMacro(int(i), out)) {
      out.print("*** ERROR: Error in macro (id=%d)!\n", macros_[i].id);
      return false;
    }
  }
  return true;
}

}  // namespace voconv
