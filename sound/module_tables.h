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

// The longest period a note can have: the lowest note of a sample tuned down by eight.
constexpr int32_t LongestNotePeriod = 1813;
// Every step of a period goes through here, with `steps` the table of `rate`. Inside the
// table its entry, so 0 and 1713..1715 have none; past its end the lowest notes of samples
// tuned down (up to LongestNotePeriod) play by the table's own rule; any other period (a
// slide gone below 0 or beyond every note) has none either: 0, as at the table's own ends.
uint32_t StepOfPeriod(const uint16_t* steps, uint32_t rate, int32_t period);

// The flat index of the note nearest to a period; a period outside the table is taken as
// its nearest end (0 or NearestNoteCount - 1).
uint32_t NoteIndexOf(int32_t period);
// The period at a flat index; an index past the table's end gives its last entry.
uint32_t PeriodAt(uint32_t index);
