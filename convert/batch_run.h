// The batch run behind "Konvertierung starten" as the window drives it: checks
// on the window's thread, a ConversionRun whose workers post their results
// back, progress in the window, and a run that can be cancelled.
#pragma once

#include <windows.h>

// Posted by a worker when an image is done: wParam its list index, lParam its result.
inline constexpr UINT kImageDoneMessage = WM_APP + 1;

// Checks, locks the panel and hands out the first images; returns at once.
void runBatchConversion();
void onImageDone(WPARAM index, LPARAM result);
// While a run is busy the start button ("Abbrechen") cancels, and Esc asks first.
void onCommandDuringRun(int id, int notification);
// The close box while a run is busy: asks, and closes once the run has ended.
void onCloseDuringRun();
// WM_QUERYENDSESSION while a run is busy: the run is cancelled and the session
// told why it should wait; false, the answer to give.
bool onQueryEndSessionDuringRun();
// WM_ENDSESSION with the session really ending: waits a few seconds at most
// for the images in progress.
void onSessionEnding();
// The window is going: images not started are dropped, running ones finish.
void abandonBatchRun();
// Workers for the runs to come; 0, the default, is one per processor as
// memory allows. Only tests and benchmarks choose.
void setBatchWorkerCount(unsigned count);
