#pragma once
// The print job behind the "Tlač" button. It fits a font to the report's page
// (Sirka characters by Dlzka lines), splits the lines into pages by line count
// and by form feeds, and draws the pages of the typed range on a printing surface.
//
// Entry point for the window (after its own file check and loading):
//
//     print::RunPrintJob(surface, MSubor's line store,
//                        {EStr1 text, EStr2 text, Sirka, Dlzka, Portrait});
//
// Errors are print::EPrintError (or the surface's own exceptions) with the
// message for the user; the window shows what() in its error box.

#include <concepts>
#include <functional>
#include <string_view>
#include <type_traits>

#include "app/print/PageRange.h"
#include "app/print/PrintSurface.h"

namespace print {

struct PrintJobInput {
    std::string_view firstPageText; // the first-page field as typed
    std::string_view lastPageText;  // the last-page field as typed
    int Sirka = 0;                  // report page width in characters
    int Dlzka = 0;                  // report page length in lines
    bool Portrait = true;
};

// The same with the page range already read, for callers that hold it as numbers.
struct PrintJobSettings {
    PageRange pages;
    int Sirka = 0;
    int Dlzka = 0;
    bool Portrait = true;
};

// What a finished job chose and produced.
struct PrintJobResult {
    int fontSize = 0;     // points, from the print size table
    int linesThatFit = 0; // L at that size
    int columnsThatFit = 0;
    int pageLength = 0;    // effective page length P; a page holds P + 2 lines
    int documentPages = 0; // pages of the whole document, printed or not
    int sheets = 0;        // sheets drawn on
};

// Font sizes in points, tried largest first.
inline constexpr int kPrintSizes[] = {14, 12, 11, 10, 9, 8, 7, 6, 5};
inline constexpr int kMargin = 200; // left and top margin, device units

// The message when no line of the document falls into the page range.
inline constexpr std::string_view kRangeOutsideDocument =
    "Rozsah tlačených strán ukazuje mimo dokument ...";

using LineReader = std::function<std::string_view(int index)>;

// Runs one job over lineCount lines read through lineAt (OEM bytes, index from 0).
// When no line falls into the page range the job is aborted and
// ERangeOutsideDocument with kRangeOutsideDocument is thrown. Any error after
// the document was begun aborts it before the error goes on, so a broken job
// never reaches the printer.
PrintJobResult RunPrintJob(PrintSurface& surface, int lineCount, const LineReader& lineAt,
                           const PrintJobInput& input);
PrintJobResult RunPrintJob(PrintSurface& surface, int lineCount, const LineReader& lineAt,
                           const PrintJobSettings& settings);

// Anything with LineCount() and LineAt(index) giving a view or a reference that
// stays valid while the job runs, such as the viewer's TMemoExStrings.
template <class Store>
concept LineStore = requires(const Store& store, int index) {
    { store.LineCount() } -> std::convertible_to<int>;
    { store.LineAt(index) } -> std::convertible_to<std::string_view>;
    requires std::is_reference_v<decltype(store.LineAt(index))> ||
        std::same_as<decltype(store.LineAt(index)), std::string_view>;
};

template <LineStore Store>
PrintJobResult RunPrintJob(PrintSurface& surface, const Store& lines, const PrintJobInput& input) {
    return RunPrintJob(
        surface, lines.LineCount(),
        [&lines](int index) -> std::string_view { return lines.LineAt(index); }, input);
}

template <LineStore Store>
PrintJobResult RunPrintJob(PrintSurface& surface, const Store& lines,
                           const PrintJobSettings& settings) {
    return RunPrintJob(
        surface, lines.LineCount(),
        [&lines](int index) -> std::string_view { return lines.LineAt(index); }, settings);
}

} // namespace print
