#pragma once
// Whether a folder is the host system's: it holds the catalog folder Cis, the
// archive Zal or the settings table oposcis.dbf, names found regardless of case.

#include <QString>

bool IsHostFolder(const QString& folder);

// Why a folder the user chose cannot be the host's, naming what it lacks; empty
// when it can.
QString HostFolderProblem(const QString& folder);
