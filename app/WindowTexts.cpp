#include "app/WindowTexts.h"

#include "platform/CodePages.h"

namespace window_texts {

std::string PreviewTitle(std::string_view popisAnsi) {
    return kPreviewTitlePrefix + platform::AnsiToUtf8(popisAnsi);
}

Rgb SelectorColour(int itemIndex) {
    if (itemIndex <= 1) return {192, 255, 192};
    return {255, 176, 208};
}

} // namespace window_texts
