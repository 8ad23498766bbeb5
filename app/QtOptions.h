#pragma once
// The options every Qt program takes (-platform, -style, -display ...). They are
// the application object's, so the tool's own parser passes over them.

#include <QStringList>

// The arguments without Qt's standard options and their values; the program's
// name stays first. Both -option and --option count, as Qt takes both.
QStringList WithoutQtOptions(const QStringList& arguments);
