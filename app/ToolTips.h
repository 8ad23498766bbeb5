#pragma once
// The window's tooltips: a word on what each control does, in Slovak like the
// rest of the window.

#include <QString>

class TForm1;

// Sets every tooltip that does not change while the tool runs.
void SetToolTips(TForm1& form);

// The orientation toggle's tooltip: the orientation the next print job uses.
QString OrientationToolTip(bool portrait);
