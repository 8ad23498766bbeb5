#pragma once
// The folder a table is named in, as the host writes it ("C:\DATA", "..\SUB")
// or as this system does, turned into the absolute folder the table opens from.

#include <string>
#include <string_view>

namespace dbf {

// The folder as given with a separator at its end; empty stays empty.
std::string FolderWithSeparator(std::string_view folder);

// The absolute folder, ending in '/': a drive, a share or a rooted folder is
// taken as it stands; any other is taken from the executable's folder.
std::string AbsoluteFolder(std::string_view folder);

} // namespace dbf
