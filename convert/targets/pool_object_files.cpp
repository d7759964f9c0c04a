#include "convert/targets/pool_object_files.h"

#include <string>

#include "convert/conversion.h"
#include "convert/foundation/project_file.h"

namespace voconv {
namespace {

// Reads a file that project data names; prints `failure` and the reason.
bool readObjectFile(Conversion& c, const std::string& name, const char* failure, std::vector<uint8_t>& bytes) {
  std::string error;
  if (readProjectFile(c.basePaths.resolve(name), bytes, error)) return true;
  c.out.print("%s\n", failure);
  c.out.print("*** %s\n", error.c_str());
  return false;
}

}  // namespace

bool readMacroObject(Conversion& c, uint16_t id, std::vector<uint8_t>& bytes, int& scriptIndex) {
  const MacroRecord* macro = c.model.macros.find(id);
  if (!macro) {
    c.out.print("*** Referenced macro %d not found in project data.\n", id);
    return false;
  }
  c.verbosePrint("Including macro file <%s> for ID %d...\n", macro->fileName.c_str(), id);
  if (!readObjectFile(c, macro->fileName, "*** Could not read macro file.", bytes)) return false;
  bytes.resize((bytes.size() + 3) / 4 * 4, 0);
  scriptIndex = macro->scriptIndex;
  return true;
}

bool readTableObject(Conversion& c, uint16_t id, std::vector<uint8_t>& bytes) {
  const TableRecord* table = c.model.tables.find(id);
  if (!table) {
    c.out.print("*** Referenced curve %d not found in project data.\n", id);
    return false;
  }
  c.verbosePrint("Including curve file <%s> for ID %d...\n", table->fileName.c_str(), id);
  return readObjectFile(c, table->fileName, "*** Could not read curve file.", bytes);
}

}  // namespace voconv
