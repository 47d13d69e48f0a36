// The module effects: what each effect does when its row is read, and on each later
// tick of the row (slides, portamento, vibrato, arpeggio, cut and delay).
#include <algorithm>

#include "sound/module_tables.h"
#include "sound/module_voice.h"

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
// Slides run on as computed, below 0 or past every note, where no period has a step. They
// stop this far out, so that a song sliding for hours cannot overflow the sums that follow.
constexpr int32_t SlideLimit = 1 << 20;
}

void ModuleVoice::SlideVolume(int c) {
    int32_t v = int32_t(channelVolume[c].load(relaxed)) + volumeSlide[c];
    channelVolume[c].store(uint32_t(std::clamp(v, 0, 64)), relaxed);
    RecomputeVolume(c);
}

void ModuleVoice::RowEffect(int c, uint32_t cellPeriod) {
    uint32_t p = parameter[c];
    switch (effect[c]) {
        case 0x0:  // arpeggio
            if (p != 0) {
                uint32_t note = NearestNoteTable[std::clamp<int32_t>(period[c], 0, NearestNoteCount - 1)];
                arpeggioStep0[c] = step[c];
                arpeggioCounter[c] = 0;
                arpeggioStep1[c] = StepOf(int32_t(PeriodTable[std::min<uint32_t>(note + x[c], PeriodCount - 1)]));
                arpeggioStep2[c] = StepOf(int32_t(PeriodTable[std::min<uint32_t>(note + y[c], PeriodCount - 1)]));
            }
            break;
        case 0x1:  // portamento up
        case 0x2:  // portamento down
            portaPeriod[c] = period[c];
            break;
        case 0x3:  // tone portamento
            if (cellPeriod != 0)
                portaTarget[c] = FinetunedPeriod(int32_t(cellPeriod), sample[c]);
            else if (portaTarget[c] == 0)
                portaTarget[c] = FinetunedPeriod(period[c], sample[c]);
            if (p != 0) portaSpeed[c] = p;
            break;
        case 0x4:  // vibrato
            if (p != 0) {
                vibratoSpeed[c] = x[c];
                vibratoDepth[c] = y[c];
            }
            break;
        case 0x5:  // tone portamento and volume slide
        case 0x6:  // vibrato and volume slide
        case 0xA:  // volume slide
            volumeSlide[c] = p == 0 ? 0 : x[c] != 0 ? int32_t(x[c]) : -int32_t(y[c]);
            break;
        case 0x9:  // sample offset, in units of 256 bytes
            position[c] = p << 16;
            break;
        case 0xB:  // position jump
            pendingOrder = p;
            pendingRow = 0;
            break;
        case 0xC:  // set volume
            channelVolume[c].store(std::min<uint32_t>(p, 64), relaxed);
            RecomputeVolume(c);
            break;
        case 0xD:  // pattern break; past the last entry the song ends or restarts (MovePosition)
            pendingOrder = order + 1;
            pendingRow = x[c] * 10 + y[c];
            if (pendingRow > 63) pendingRow = 0;
            break;
        case 0xE:
            switch (x[c]) {
                case 0xA:
                    channelVolume[c].store(std::min<uint32_t>(channelVolume[c].load(relaxed) + y[c], 64), relaxed);
                    RecomputeVolume(c);
                    break;
                case 0xB: {
                    uint32_t v = channelVolume[c].load(relaxed);
                    channelVolume[c].store(v > y[c] ? v - y[c] : 0, relaxed);
                    RecomputeVolume(c);
                    break;
                }
                case 0xC: cutCount[c] = y[c]; break;
                case 0xD:
                    // A delay on a cell without a note has no pitch to set.
                    delayPeriod[c] = cellPeriod;
                    delayCount[c] = cellPeriod != 0 ? y[c] - 1 : NoDelay;
                    break;
                case 0xE: patternDelay = y[c]; break;
                default: break;
            }
            break;
        case 0xF:  // speed (1..32) or tempo (33..255); speed 0 is ignored
            if (p == 0) break;
            if (p <= 32)
                speed = p;
            else
                samplesPerTick = rate / ((p * 2) / 5);
            break;
        default: break;
    }
}

void ModuleVoice::TickEffect(int c) {
    uint32_t p = parameter[c];
    switch (effect[c]) {
        case 0x0:
            if (p != 0) {
                if (++arpeggioCounter[c] >= 3) arpeggioCounter[c] = 0;
                step[c] = arpeggioCounter[c] == 0   ? arpeggioStep0[c]
                          : arpeggioCounter[c] == 1 ? arpeggioStep1[c]
                                                    : arpeggioStep2[c];
            }
            break;
        case 0x1:
        case 0x2: {
            // A period without a step (0, 1713..1715, or outside the table) keeps the last step.
            int32_t moved = effect[c] == 1 ? portaPeriod[c] - int32_t(p) : portaPeriod[c] + int32_t(p);
            portaPeriod[c] = std::clamp(moved, -SlideLimit, SlideLimit);
            period[c] = portaPeriod[c];
            if (uint32_t s = StepOf(period[c])) step[c] = s;
            break;
        }
        case 0x3:
        case 0x5: {
            int32_t target = portaTarget[c];
            int32_t speedOf = int32_t(portaSpeed[c]);
            if (period[c] > target) {
                period[c] -= speedOf;
                if (period[c] < target || period[c] < 0) period[c] = target;
            } else if (period[c] < target) {
                period[c] = std::min(period[c] + speedOf, target);
            }
            step[c] = StepOf(period[c]);
            if (effect[c] == 5) SlideVolume(c);
            break;
        }
        case 0x4:
        case 0x6: {
            uint32_t at = vibratoPosition[c];
            int32_t delta = VibratoTable[at % 32] * int32_t(vibratoDepth[c]);
            int32_t bent = at < 32 ? period[c] * 256 + delta : period[c] * 256 - delta;
            step[c] = StepOf(bent >> 8);
            vibratoPosition[c] = at + vibratoSpeed[c];
            if (vibratoPosition[c] >= 64) vibratoPosition[c] -= 64;
            if (effect[c] == 6) SlideVolume(c);
            break;
        }
        case 0xA: SlideVolume(c); break;
        case 0xE:
            if (x[c] == 0xC) {
                if (cutCount[c] > 0 && --cutCount[c] == 0) effectiveVolume[c].store(0, relaxed);
            } else if (x[c] == 0xD) {
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
