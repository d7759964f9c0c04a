#include "convert/targets/handheld/handheld_writers.h"

namespace voconv {

void addHandheldWriters(TargetWriters& writers) {
  auto gameBoy = std::make_shared<GameBoyRun>();
  writers.gameBoyProject = [gameBoy](Conversion& c) { return writeGameBoyProject(c, *gameBoy); };
  writers.gameBoyData = [gameBoy](Conversion& c) { return writeGameBoyData(c, *gameBoy); };
  auto advance = std::make_shared<AdvanceRun>();
  writers.advanceProject = [advance](Conversion& c) { return writeAdvanceProject(c, *advance); };
  writers.advanceData = [advance](Conversion& c) { return writeAdvanceData(c, *advance); };
}

}  // namespace voconv
