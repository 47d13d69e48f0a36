// The module player's tables: periods by finetune and note, nearest note by period,
// the 8.8 step of each period at each output rate, and the vibrato sine.
#pragma once
#include <cstdint>

constexpr int PeriodRows = 16;
constexpr int PeriodColumns = 72;
constexpr int PeriodCount = PeriodRows * PeriodColumns;  // 1152
constexpr int NearestNoteCount = 1714;
constexpr int StepTableSize = 1716;

extern const uint32_t (&PeriodTable)[PeriodCount];
extern const uint32_t (&NearestNoteTable)[NearestNoteCount];
extern const int32_t VibratoTable[32];
// The step table of 11025, 22050 or 44100 Hz (any other rate: 22050).
const uint16_t* StepTableFor(uint32_t rate);
