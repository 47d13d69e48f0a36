// The module effects: what each effect does when its row is read, and on each later
// tick of the row (slides, portamento, vibrato, arpeggio, cut and delay).
#include <algorithm>

#include "sound/module_checks.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
// Slides run on as computed, below 0 or past every note, where no period has a step. They
// stop this far out, so that a song sliding for hours cannot overflow the sums that follow.
constexpr int32_t SlideLimit = 1 << 20;
}  // namespace

void ModuleVoice::SlideVolume(int c) {
    int32_t v = int32_t(channelVolume[c].load(relaxed)) + volumeSlide[c];
    SetChannelVolume(c, uint32_t(std::clamp(v, 0, int32_t(MaxChannelVolume))));
}

void ModuleVoice::RowEffect(int c, uint32_t cellPeriod) {
    uint32_t p = parameter[c];
    switch (effect[c]) {
        case EffectArpeggio:
            if (p != 0) {
                uint32_t note = NoteIndexOf(period[c]);
                arpeggioStep0[c] = step[c];
                arpeggioCounter[c] = 0;
                arpeggioStep1[c] = StepOf(int32_t(PeriodAt(note + x[c])));
                arpeggioStep2[c] = StepOf(int32_t(PeriodAt(note + y[c])));
            }
            break;
        case EffectPortamentoUp:
        case EffectPortamentoDown: portaPeriod[c] = period[c]; break;
        case EffectTonePortamento:
            if (cellPeriod != 0) portaTarget[c] = FinetunedPeriod(int32_t(cellPeriod), sample[c]);
            else if (portaTarget[c] == 0) portaTarget[c] = FinetunedPeriod(period[c], sample[c]);
            if (p != 0) portaSpeed[c] = p;
            break;
        case EffectVibrato:
            if (p != 0) {
                vibratoSpeed[c] = x[c];
                vibratoDepth[c] = y[c];
            }
            break;
        case EffectTonePortamentoVolumeSlide:
        case EffectVibratoVolumeSlide:
        case EffectVolumeSlide: volumeSlide[c] = p == 0 ? 0 : x[c] != 0 ? int32_t(x[c]) : -int32_t(y[c]); break;
        case EffectSampleOffset:  // in units of 256 bytes
            position[c] = p << 16;
            break;
        case EffectPositionJump:
            pendingOrder = p;
            pendingRow = 0;
            break;
        case EffectSetVolume: SetChannelVolume(c, std::min(p, MaxChannelVolume)); break;
        case EffectPatternBreak:  // past the last entry the song ends or restarts (MovePosition)
            pendingOrder = order + 1;
            pendingRow = x[c] * 10 + y[c];
            if (!IsValidRow(pendingRow)) pendingRow = 0;
            break;
        case EffectExtended:
            switch (x[c]) {
                case ExtendedFineVolumeUp:
                    SetChannelVolume(c, std::min(channelVolume[c].load(relaxed) + y[c], MaxChannelVolume));
                    break;
                case ExtendedFineVolumeDown: {
                    uint32_t v = channelVolume[c].load(relaxed);
                    SetChannelVolume(c, v > y[c] ? v - y[c] : 0);
                    break;
                }
                case ExtendedNoteCut: cutCount[c] = y[c]; break;
                case ExtendedNoteDelay:
                    // A delay on a cell without a note has no pitch to set.
                    delayPeriod[c] = cellPeriod;
                    delayCount[c] = cellPeriod != 0 ? y[c] - 1 : NoDelay;
                    break;
                case ExtendedPatternDelay: patternDelay = y[c]; break;
                default: break;
            }
            break;
        case EffectSpeedOrTempo:  // speed up to MaxSpeed, tempo above; speed 0 is ignored
            if (p == 0) break;
            if (p <= MaxSpeed) speed = p;
            else samplesPerTick = rate / ((p * 2) / 5);
            break;
        default: break;
    }
}

void ModuleVoice::TickEffect(int c) {
    uint32_t p = parameter[c];
    switch (effect[c]) {
        case EffectArpeggio:
            if (p != 0) {
                if (++arpeggioCounter[c] >= 3) arpeggioCounter[c] = 0;
                step[c] = arpeggioCounter[c] == 0   ? arpeggioStep0[c]
                          : arpeggioCounter[c] == 1 ? arpeggioStep1[c]
                                                    : arpeggioStep2[c];
            }
            break;
        case EffectPortamentoUp:
        case EffectPortamentoDown: {
            // A period without a step (0, 1713..1715, or outside the table) keeps the last step.
            int32_t moved = effect[c] == EffectPortamentoUp ? portaPeriod[c] - int32_t(p) : portaPeriod[c] + int32_t(p);
            portaPeriod[c] = std::clamp(moved, -SlideLimit, SlideLimit);
            period[c] = portaPeriod[c];
            if (uint32_t s = StepOf(period[c])) step[c] = s;
            break;
        }
        case EffectTonePortamento:
        case EffectTonePortamentoVolumeSlide: {
            int32_t target = portaTarget[c];
            int32_t speedOf = int32_t(portaSpeed[c]);
            if (period[c] > target) {
                period[c] -= speedOf;
                if (period[c] < target || period[c] < 0) period[c] = target;
            } else if (period[c] < target) {
                period[c] = std::min(period[c] + speedOf, target);
            }
            step[c] = StepOf(period[c]);
            if (effect[c] == EffectTonePortamentoVolumeSlide) SlideVolume(c);
            break;
        }
        case EffectVibrato:
        case EffectVibratoVolumeSlide: {
            uint32_t at = vibratoPosition[c];
            int32_t delta = VibratoTable[at % 32] * int32_t(vibratoDepth[c]);
            int32_t bent = at < 32 ? period[c] * 256 + delta : period[c] * 256 - delta;
            step[c] = StepOf(bent >> 8);
            vibratoPosition[c] = at + vibratoSpeed[c];
            if (vibratoPosition[c] >= 64) vibratoPosition[c] -= 64;
            if (effect[c] == EffectVibratoVolumeSlide) SlideVolume(c);
            break;
        }
        case EffectVolumeSlide: SlideVolume(c); break;
        case EffectExtended:
            if (x[c] == ExtendedNoteCut) {
                if (cutCount[c] > 0 && --cutCount[c] == 0) effectiveVolume[c].store(0, relaxed);
            } else if (x[c] == ExtendedNoteDelay) {
                if (delayCount[c] == DelayFires) {
                    period[c] = int32_t(delayPeriod[c]);
                    delayCount[c] = NoDelay;
                    step[c] = StepOf(period[c]);
                } else if (delayCount[c] != NoDelay) {
                    --delayCount[c];
                }
            }
            break;
        default: break;
    }
}
