#pragma once
// Reading a settings file the tool can trust: a plain file of INI lines in
// UTF-8. Anything else (a pipe, a folder, a device, UTF-16 text, binary data
// with a line that happens to look like a setting) is refused as a whole, so
// no value of it is taken by chance.

#include <QString>

enum class SettingsFileState { Missing, Unusable, Usable };

struct SettingsFileText {
    SettingsFileState state = SettingsFileState::Missing;
    QString text; // when usable
};

// Never blocks on what is not a plain file and never reads more than a small
// settings file can hold.
SettingsFileText ReadSettingsFileText(const QString& path);

// True when every line is blank, a comment, a [section] or a key=value line
// (a value may go on after a backslash at the line's end).
bool LooksLikeIniText(const QString& text);
