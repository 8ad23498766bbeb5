#include "app/WindowTexts.h"

namespace window_texts {

std::string PreviewTitle(std::string_view popis) {
    return kPreviewTitlePrefix + std::string(popis);
}

Rgb SelectorColour(const Source& source) {
    if (!source.IsArchivedPeriod()) return {192, 255, 192};
    return {255, 176, 208};
}

} // namespace window_texts
