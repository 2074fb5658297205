#pragma once

namespace vindle {

// How every shell draws a designed window: the designs assume 15 twips to a
// logical pixel in a small dialog font. Where a shell's font needs more room
// than the design gave, the whole window grows by kWideningStep at a time,
// at most kMostWideningSteps times (about 1.8 times as wide).
inline constexpr double kTwipsPerPixel = 15.0;
inline constexpr double kWideningStep = 1.05;
inline constexpr int kMostWideningSteps = 12;

} // namespace vindle
