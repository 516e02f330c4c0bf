// Start-up work that GTK would otherwise do on the user-interface thread the
// first time a window needs it: reading fontconfig's configuration and font
// cache (the first text measured or drawn) and loading the SVG image loader
// (the theme draws check and radio marks from SVG). A worker thread does both
// while the first window is being built; together they are about a tenth of
// the main dialog's start-up.
#pragma once

namespace wxhost {

// Starts the warm-up, once per process; later calls do nothing. It touches
// nothing of GTK's own, so it may start before the first window exists.
void StartToolkitWarmUp();

// Waits until the warm-up has finished; returns at once when none runs.
void FinishToolkitWarmUp();

}  // namespace wxhost
