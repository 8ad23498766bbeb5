#pragma once
// BTlac's context menu: the printers of the print system, the default one
// marked, to print once on another printer, and "Uložiť do PDF..." to keep
// the same sheets as a PDF file. It opens on a right click and on the menu key
// while the button has the focus; the window hears what was chosen.

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Show(const QPoint& globalPos);

    QPushButton* button_;
    // The menu key opened the menu itself; the context-menu event some
    // platforms send for the same key press is then not a second request.
    bool menuKeyHandled_ = false;
};
