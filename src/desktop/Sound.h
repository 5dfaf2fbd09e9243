#pragma once

namespace zephtune {

// Plays the program's click sound (WAVE resource "CLICK") and returns when it has
// ended, so the clicked action starts after it. Where the resource cannot be played
// Windows plays its default sound; without sound output nothing plays.
void PlayClickSound() noexcept;

}  // namespace zephtune
