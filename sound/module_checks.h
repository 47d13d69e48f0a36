// What the values of a module's cells mean, each checked in one place: the sample number,
// the effect numbers (and the x of effect E), the rows, and the speeds of effect F.
// The table look-ups by period and note are in module_tables.h.
#pragma once
#include <cstdint>
#include "sound/module_image.h"

// Samples are numbered 1..ModuleSamples; 0 in a cell means none, and a larger number is ignored.
constexpr bool IsValidSampleNumber(uint32_t n) { return n - 1 < ModuleSamples; }

// A pattern break to a row past the pattern's end goes to row 0.
constexpr bool IsValidRow(uint32_t row) { return row < uint32_t(ModuleRows); }

// The highest channel volume, that of a sample at full volume.
constexpr uint32_t MaxChannelVolume = 64;
// Effect F sets the speed up to this, the tempo above it.
constexpr uint32_t MaxSpeed = 32;

constexpr uint32_t EffectArpeggio = 0x0;
constexpr uint32_t EffectPortamentoUp = 0x1;
constexpr uint32_t EffectPortamentoDown = 0x2;
constexpr uint32_t EffectTonePortamento = 0x3;
constexpr uint32_t EffectVibrato = 0x4;
constexpr uint32_t EffectTonePortamentoVolumeSlide = 0x5;
constexpr uint32_t EffectVibratoVolumeSlide = 0x6;
constexpr uint32_t EffectSampleOffset = 0x9;
constexpr uint32_t EffectVolumeSlide = 0xA;
constexpr uint32_t EffectPositionJump = 0xB;
constexpr uint32_t EffectSetVolume = 0xC;
constexpr uint32_t EffectPatternBreak = 0xD;
constexpr uint32_t EffectExtended = 0xE;  // what it does is its x
constexpr uint32_t EffectSpeedOrTempo = 0xF;

// The x of the extended effect.
constexpr uint32_t ExtendedFineVolumeUp = 0xA;
constexpr uint32_t ExtendedFineVolumeDown = 0xB;
constexpr uint32_t ExtendedNoteCut = 0xC;
constexpr uint32_t ExtendedNoteDelay = 0xD;
constexpr uint32_t ExtendedPatternDelay = 0xE;

// A note with these effects does not start at once: it is slid to, or started later.
constexpr bool SlidesToNote(uint32_t effect) {
    return effect == EffectTonePortamento || effect == EffectTonePortamentoVolumeSlide;
}
constexpr bool DelaysNote(uint32_t effect, uint32_t x) { return effect == EffectExtended && x == ExtendedNoteDelay; }
