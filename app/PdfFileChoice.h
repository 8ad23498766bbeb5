#pragma once
// Choosing the PDF file a report's sheets are kept in: the save dialog with
// the entry's name offered, and the question before a file is replaced, the
// same for BTlac's menu and the print preview.

#include <QString>

#include <string>

class QWidget;

// Asks for the file, offering <Nazov>.pdf; empty when the user cancels.
QString AskPdfFile(QWidget* parent, const std::string& nazov);

// The name with the .pdf suffix added where it lacks one, once the user has
// agreed to replace a file of that name; empty when they would not.
QString ConfirmPdfFile(QWidget* parent, QString file);
