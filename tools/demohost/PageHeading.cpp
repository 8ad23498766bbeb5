#include "tools/demohost/OemText.h"
#include "tools/demohost/Reports.h"

namespace demohost {

std::vector<std::string> PageHeading(const std::string& title, int width, int page) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::string pageText = "Strana: " + std::to_string(page);
    std::vector<std::string> lines;
    lines.push_back(Left(kFirmShort, w - pageText.size()) + pageText);
    lines.push_back(Oem(std::string("IČO ") + kFirmIco));
    lines.push_back(Centre(title, w));
    lines.push_back(Repeat("═", w));
    return lines;
}

} // namespace demohost
