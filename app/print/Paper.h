#pragma once
// The paper the sheets are laid out on: its size, the printable area within it
// and the resolution that turns both into device units.

#include <string>

#include <QPageLayout>
#include <QRect>

namespace print {

struct Paper {
    QPageLayout layout;   // page size, orientation and the margins outside the printable area
    int resolution = 600; // device units per inch

    // The printable area in device units, for the layout's orientation.
    int Width() const { return layout.paintRectPixels(resolution).width(); }
    int Height() const { return layout.paintRectPixels(resolution).height(); }
};

// The paper the printer uses by default, as the print system describes it:
// the same page size, printable area and resolution that printing on it gets.
// Throws EPrintError when the print system does not know the printer.
Paper PrinterPaper(const std::string& printer);

// A4 in portrait, the whole sheet printable, at 600 units per inch: the paper
// of a PDF file when there is no printer to take it from.
Paper A4Paper();

} // namespace print
