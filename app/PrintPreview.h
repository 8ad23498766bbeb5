#pragma once
// "Ukážka pred tlačou": the sheets of a print request exactly as "Tlač" lays
// them out, one at a time, with page navigation, zoom, the choice of printer
// (whose paper the sheets are laid out on) and the orientation. Its "Tlačiť",
// "Uložiť do PDF..." and "Poslať e-mailom..." hand the request, with the lines
// shown, back to the window, which carries it out as its own menu does.
// PrintPreviewOpener lays the first sheets out and opens it.

#include "app/PrintRequest.h"
#include "app/print/Paper.h"
#include "app/print/Spooler.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class PreviewLayouter;
struct PreviewPages;
class QComboBox;
class QLabel;
class QPushButton;
class QToolButton;
class SheetView;
class TMemoExStrings;
class WindowNotices;

class PrintPreview : public QDialog {
    Q_OBJECT
  public:
    // What the window does for the preview's buttons, with the request as
    // shown (its destination set), the preview's lines and the paper shown.
    // True when the request was carried out.
    using Action =
        std::function<bool(const PrintRequest&, TMemoExStrings& lines, const print::Paper& paper)>;
    struct Actions {
        // To the chosen printer (the default one without a printer), or to
        // the PDF file the user named here.
        Action carry;
        Action mail;
        // The orientation was switched here; the window's toggle follows.
        std::function<void(bool portrait)> orientationChanged;
    };

    // A preview of a request already laid out on the default printer's paper
    // (or A4 without a printer); printers are the print system's, in its
    // order, the default first chosen.
    PrintPreview(const PrintRequest& request, std::shared_ptr<TMemoExStrings> lines,
                 const print::Paper& paper, const PreviewPages& pages,
                 const std::vector<print::SpoolerPrinter>& printers, Actions actions,
                 QWidget* parent);
    ~PrintPreview() override;

    // The pages shown; a re-layout replaces them when it is ready.
    const PreviewPages& Pages() const { return *pages_; }
    bool Relaying() const;

  private:
    void CreateControls(const std::vector<print::SpoolerPrinter>& printers);
    void ShowPages(const PreviewPages& pages);
    void UpdateControls();
    // A printer or the orientation changed: the sheets are laid out again.
    void PrinterChosen(int index);
    void SwitchOrientation();
    void Relay();
    void Run(const Action& action, PrintDestination destination, bool closeAfter);
    // "Uložiť do PDF...": the file asked for, then the sheets shown written there.
    void SavePdf();
    // The queue chosen, or empty without a printer.
    std::string ChosenPrinter() const;

    PrintRequest request_;
    std::shared_ptr<TMemoExStrings> lines_;
    print::Paper paper_;
    std::unique_ptr<PreviewPages> pages_;
    Actions actions_;
    PreviewLayouter* layouter_;
    WindowNotices* notices_;
    int chosenIndex_ = -1; // the printer the sheets shown lie on; -1 without one
    // What a layout under way is for; it becomes the shown state once it is ready.
    struct Choice {
        print::Paper paper;
        bool portrait = true;
        int index = -1;
    };
    Choice pending_;

    SheetView* sheet_;
    QToolButton* first_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* last_;
    QLabel* pageLabel_;
    QToolButton* wholePage_;
    QToolButton* pageWidth_;
    QToolButton* zoomOut_;
    QToolButton* zoomIn_;
    QLabel* zoomLabel_;
    QToolButton* orientation_;
    QComboBox* printer_;
    QLabel* status_;
    QPushButton* print_;
    QPushButton* savePdf_;
    QPushButton* mail_;
};
