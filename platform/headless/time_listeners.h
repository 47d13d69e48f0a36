// Observers of the headless clock: the virtual audio device plays its blocks as
// virtual time passes. Listeners run on the game thread before the clock call returns.
#pragma once
#include <cstdint>
#include <functional>

using TimeListener = std::function<void(uint32_t from, uint32_t to)>;

// Returns an id for RemoveTimeListener.
int AddTimeListener(TimeListener listener);
void RemoveTimeListener(int id);
// Called by the headless backend whenever its virtual tick moves from `from` to `to`.
void NotifyTimeAdvanced(uint32_t from, uint32_t to);
