#pragma once
// Choosing the host folder in a dialog, the same for the first start and the
// settings: the folder chooser, and the box that says why a folder or a save
// will not do.

#include <QString>

class QWidget;

// The folder chooser under that object name, opened at start (the home
// folder when empty); the folder chosen, or empty when the user cancels.
QString AskHostFolder(QWidget* parent, const char* objectName, const QString& start);

// A box with an OK button that waits for it.
void TellUser(QWidget* parent, const QString& text);
