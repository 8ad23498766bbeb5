#pragma once
// Setting the machine's code pages while the tool runs, for the text shown and
// for every table opened from then on.

void UseMachineCodePages(int ansi, int oem);
