#pragma once
// The images of the window's buttons, drawn for this tool and kept as resources.

#include <QIcon>
#include <QPixmap>
#include <QString>

// A button image by name ("view", "order", ...). Buttons whose image has two
// states also get the greyed one for their disabled look.
QIcon ButtonImage(const QString& name);

// The orientation toggle's image: BMPORTRAIT or BMLANDSCAPE.
QPixmap OrientationImage(bool portrait);
