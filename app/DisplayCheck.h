#pragma once
// Whether the window can be shown at all. Without a display Qt's desktop
// platforms end the program with an abort of their own, before the tool could
// say what is wrong; the tool tells it instead, and no dialog is ever waited for.

#include <QProcessEnvironment>
#include <QStringList>

// True when the platform Qt will use (-platform, else QT_QPA_PLATFORM, else the
// desktop's own) has a display to open: X11 through DISPLAY or -display,
// Wayland through WAYLAND_DISPLAY. Platforms that need neither (offscreen,
// a frame buffer, VNC) always have one.
bool DisplayAvailable(const QStringList& arguments, const QProcessEnvironment& environment =
                                                        QProcessEnvironment::systemEnvironment());
