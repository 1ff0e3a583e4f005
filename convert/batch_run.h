// The batch run behind "Konvertierung starten": checks on the window's thread,
// then the images handed out in list order to worker threads, their results
// back as posted messages, and a run that can be cancelled.
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
// The window is going: images not started are dropped, running ones finish.
void abandonBatchRun();
// Workers for the runs to come; 0, the default, is one per processor as
// memory allows. Only tests and benchmarks choose.
void setBatchWorkerCount(unsigned count);
