// A display that reports the refresh rate a test chooses: the window paces its pictures
// and its waits by it as by a real display's.
#pragma once

// The rate SDL reports for every display from now on; 0 goes back to the display's own.
// Only a program that calls this has its reports changed.
void ReportRefreshRate(int hz);
