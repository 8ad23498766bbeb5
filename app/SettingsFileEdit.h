#pragma once
// Changing keys of a settings file the user may have written by hand: every
// other line (comments, other keys, sections) stays as it was, and the file is
// replaced at once or not at all.

#include <QString>

#include <optional>

// The text with the top-level key (before any section or under [General]) set
// to the value, written as QSettings writes it; nullopt removes the key.
QString WithSettingValue(const QString& text, const QString& key,
                         const std::optional<QString>& value);

// Writes the text to the file through a temporary file in the same folder,
// making the folder when it is missing. A Slovak error naming the file and the
// system's reason, or empty when it is written.
QString SaveSettingsFile(const QString& path, const QString& text);
