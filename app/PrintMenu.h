#pragma once
// BTlac's context menu: the printers of the print system, the default one
// marked, to print once on another printer, and "Uložiť do PDF..." to keep
// the same sheets as a PDF file. It opens on a right click and on the menu key
// while the button has the focus (ContextMenuOpener); the window hears what
// was chosen.

#include <QObject>
#include <QString>

class QPoint;
class QPushButton;

class PrintMenu : public QObject {
    Q_OBJECT
  public:
    explicit PrintMenu(QPushButton* button);

  signals:
    void PrintOnChosen(const QString& printer);
    void SavePdfChosen();

  private:
    void Show(const QPoint& globalPos);

    QPushButton* button_;
};
