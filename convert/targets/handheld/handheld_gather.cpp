#include "convert/targets/handheld/handheld_gather.h"

#include <memory>

#include "convert/compile/macro_compilation.h"
#include "convert/compile/relocation.h"
#include "convert/conversion.h"
#include "convert/targets/handheld/handheld_song_files.h"
#include "convert/targets/handheld_loading.h"
#include "convert/targets/handheld_objects.h"

namespace voconv {
namespace {

constexpr uint16_t kNoSetup = 0xFFFF;

void convertSamples(const ObjectIndex& index, CompileTarget target, HandheldProject& p) {
  for (const TargetObject* object : index.samples) {
    convert::HandheldSample sample = sampleFromObject(*object);
    if (target == CompileTarget::Advance) {
      convert::convertSampleForAdvance(sample);
    } else {
      convert::convertSampleForGameBoy(sample);
    }
    sample.samples.clear();
    p.samples.push_back(std::move(sample));
  }
}

void collectMacros(const MacroCompilation& compiled, HandheldProject& p) {
  for (const CompiledMacro& macro : compiled.macros()) {
    p.macros.push_back(HandheldMacro{macro.bytes, macro.voice, macro.voiceFlags, uint8_t(macro.samplemap ? 1 : 0)});
  }
  if (compiled.keymapMacro() >= 0) p.keymap = KeymapMacro{compiled.keymapMacro(), uint8_t(compiled.keymapEntries())};
}

void collectTables(const ObjectIndex& index, HandheldProject& p) {
  for (const TargetObject* object : index.tables) {
    const TableEnvelope t = tableEnvelope(*object);
    p.tables.push_back(EnvelopeCurve{t.attack, t.decay, t.sustain, t.release});
  }
}

// Effects with their names from the export scripts.
void collectEffects(Conversion& c, const ObjectIndex& index, HandheldProject& p) {
  for (const TargetObject* object : index.effectGroups) {
    const SoundEffectGroup* group = c.model.soundEffectGroups.find(object->id);
    std::vector<HandheldEffect>& effects = p.effectGroups.emplace_back();
    for (const EffectObjectEntry& e : effectEntries(*object)) {
      const SoundEffectEntry* named = group ? group->effects.find(e.effectId) : nullptr;
      effects.push_back(HandheldEffect{e.effectId, index.macroIndex(e.objectId), e.priority, e.maxVoices, e.velocity,
                                       e.panning, e.key, named ? named->name : std::string()});
    }
  }
}

void fillPage(const ObjectIndex& index, const TargetObject& page, size_t first,
              std::array<PageSlot, kPagePrograms>& slots) {
  for (size_t program = 0; program < kPagePrograms; ++program) {
    const PageObjectEntry e = pageEntry(page, first + program);
    if (e.empty()) continue;
    slots[program] = PageSlot{true, index.macroIndex(e.objectId), e.priority, e.maxVoices};
  }
}

std::optional<HandheldSetup> collectSetup(Conversion& c, const ObjectIndex& index, const TargetObject& object) {
  const MidiSetupObject setup = midiSetupObject(object);
  if (setup.setupId == kNoSetup) {
    c.out.print("*** ERROR: Illegal MIDI setup index!\n");
    return std::nullopt;
  }
  TargetObject* page = c.targetObjects.find(TargetObjectType::SongGroup, uint16_t(setup.songGroup));
  if (!page || setup.songGroup > 0xFFFF) {
    c.out.print("*** ERROR: Illegal songgroup ID!\n");
    return std::nullopt;
  }
  HandheldSetup result;
  result.name = setup.name;
  for (size_t channel = 0; channel < kMidiChannels; ++channel) result.programs[channel] = setup.channels[channel].prg;
  fillPage(index, *page, 0, result.normalPage);
  fillPage(index, *page, kDrumPageFirstEntry, result.drumPage);
  std::optional<std::vector<uint8_t>> song = readSongFile(c, setup.name);
  if (!song) return std::nullopt;
  result.song = std::move(*song);
  return result;
}

bool collectSetups(Conversion& c, const ObjectIndex& index, HandheldProject& p) {
  for (const TargetObject* object : index.midiSetups) {
    std::optional<HandheldSetup> setup = collectSetup(c, index, *object);
    if (!setup) return false;
    p.setups.push_back(std::move(*setup));
  }
  return true;
}

ReferenceResolver referenceResolver(const std::shared_ptr<const MacroCompilation>& compiled, CompileTarget target) {
  if (target == CompileTarget::Advance) {
    return [compiled](std::span<const uint32_t> places, std::span<uint8_t> bytes, common::Output& out) {
      return applyAdvanceRelocations(*compiled, places, bytes, out);
    };
  }
  return [compiled](std::span<const uint32_t> places, std::span<uint8_t> bytes, common::Output& out) {
    const std::vector<uint16_t> starts(places.begin(), places.end());
    return applyGameBoyRelocations(*compiled, starts, bytes, out);
  };
}

}  // namespace

std::optional<HandheldProject> prepareHandheldProject(Conversion& c, const HandheldBuild& build) {
  const CompileTarget target = build.compileTarget;
  if (!loadHandheldObjects(c)) return std::nullopt;
  if (c.release.announcesTargetConversion) c.out.print("Converting to target format...\n");
  auto compiled = std::make_shared<MacroCompilation>(c.targetObjects, target);
  HandheldProject p;
  convertSamples(compiled->index(), target, p);
  if (!compiled->compileAll(c.out)) return std::nullopt;
  collectMacros(*compiled, p);
  collectTables(compiled->index(), p);
  if (!build.songs) return p;
  collectEffects(c, compiled->index(), p);
  if (!collectSetups(c, compiled->index(), p)) return std::nullopt;
  p.resolveReferences = referenceResolver(compiled, target);
  return p;
}

}  // namespace voconv
