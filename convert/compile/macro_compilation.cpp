#include "convert/compile/macro_compilation.h"

#include "convert/compile/advance_compiler.h"
#include "convert/compile/handheld_compiler.h"

namespace voconv {

MacroCompilation::MacroCompilation(TargetObjectList& objects, CompileTarget target)
    : target_(target), index_(ObjectIndex::build(objects, target)), macros_(index_.macros.size()) {
  for (std::size_t i = 0; i < macros_.size(); ++i) macros_[i].id = index_.macros[i]->id;
}

bool MacroCompilation::compileMacro(int macroIndex, common::Output& out) {
  CompiledMacro& m = macro(macroIndex);
  const uint16_t id = m.id;
  m = CompiledMacro();
  m.id = id;
  return target_ == CompileTarget::Advance ? compileAdvanceMacro(*this, macroIndex, out)
                                           : compileHandheldMacro(*this, macroIndex, out);
}

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
