#include "convert/targets/n64_writer.h"

#include "convert/conversion.h"

namespace voconv {

void N64Writer::write(Conversion& c) {
  c.out.print("Writing project data...\n");
  if (!stepDone(c, writeProject(c))) return;
  c.out.print("Done.\n");
  c.out.print("Converting pool data...\n");
  if (!stepDone(c, writePool(c))) return;
  c.out.print("Done.\n");
  if (c.settings.convertSamples) {
    c.out.print("Converting sample data...\n");
    if (!stepDone(c, writeSamples(c))) return;
    c.include->writeSongSymbols(c.midiSetups);
    c.out.print("Done.\n");
  } else {
    c.include->writeSongSymbols(c.midiSetups);
  }
}

}  // namespace voconv
