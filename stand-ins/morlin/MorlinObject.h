// The automation object of "Brackwell.Morlin": a thin COM layer over MorlinFrames.
#pragma once

#include <windows.h>

namespace wenlock::morlin {

// The class's creator for its class factory.
HRESULT CreateMorlinObject(REFIID iid, void** out);

}  // namespace wenlock::morlin
