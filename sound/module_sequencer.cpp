// The module sequencer: one step per output frame counts frames into ticks and ticks
// into rows, reads each row's cells and moves the song position (breaks, jumps, end).
#include <algorithm>

#include "sound/module_checks.h"
#include "sound/module_image.h"
#include "sound/module_tables.h"
#include "sound/module_voice.h"

bool ModuleVoice::SequencerStep() {
    if (tick == speed) {
        // Row time. A pattern delay holds the row: not read again, its tick effects go on.
        if (patternDelay != 0) {
            --patternDelay;
            tick = 0;
            return true;
        }
        if (songEnded) return false;
        ReadRow();
        MovePosition();
        tick = 0;
        return true;
    }
    if (frameCounter != samplesPerTick) {
        ++frameCounter;
        return true;
    }
    frameCounter = 0;
    ++tick;
    if (tick == speed) return true;
    for (int c = 0; c < ModuleChannels; ++c) TickEffect(c);
    return true;
}

void ModuleVoice::ReadRow() {
    for (int c = 0; c < ModuleChannels; ++c) {
        ModuleCell cell = ImageCell(data, dataSize, pattern, row, uint32_t(c));
        effect[c] = cell.effect;
        parameter[c] = cell.parameter;
        x[c] = cell.parameter >> 4;
        y[c] = cell.parameter & 0x0F;
        // The one place a sample number from the image is checked: the channel never holds another.
        if (IsValidSampleNumber(cell.sample)) {
            sample[c] = cell.sample;
            BindSample(c);
            SetChannelVolume(c, sampleVolume[cell.sample]);
        }
        if (cell.period != 0 && !SlidesToNote(cell.effect) && !DelaysNote(cell.effect, x[c])) {
            position[c] = 0;
            period[c] = FinetunedPeriod(int32_t(cell.period), sample[c]);
        }
        // Every row, so that a step bent by arpeggio or vibrato comes back to the note.
        if (sample[c] != 0) step[c] = StepOf(period[c]);
        RowEffect(c, cell.period);
    }
}

void ModuleVoice::MovePosition() {
    if (pendingOrder != NoPendingOrder) {
        uint32_t target = pendingOrder;
        row = pendingRow;
        pendingOrder = NoPendingOrder;
        // A jump or break past the last entry ends the song here, or restarts a looping one.
        if (target >= songLength) {
            if (!loop.load(std::memory_order_relaxed)) {
                songEnded = true;
                return;
            }
            target = restart;
        }
        order = target;
        pattern = orders[order];
        return;
    }
    if (IsValidRow(++row)) return;
    row = 0;
    if (++order >= songLength) {
        if (!loop.load(std::memory_order_relaxed)) {
            songEnded = true;
            return;
        }
        order = restart;
    }
    pattern = orders[order];
}
