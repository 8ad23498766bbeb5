#pragma once
// How the window tells the user what happened: a notice that waits for OK (a
// missing print file, a page range beyond the document), an error box, and
// what later becomes of a print job the spooler accepted, told in a box that
// does not hold up the window.

#include <QObject>
#include <QString>

#include <string>

class QWidget;
struct PrintOutcome;

class WindowNotices : public QObject {
    Q_OBJECT
  public:
    explicit WindowNotices(QWidget* window);

    // A notice with an OK button, as for a missing file.
    void Notice(const QString& text);
    // What became of a print: nothing to say when it went well, except that an
    // accepted job is followed until it has ended.
    void Show(const PrintOutcome& outcome);

  private:
    void FollowJob(const std::string& printer, int jobId);
    void ShowLater(const QString& text, bool error);

    QWidget* window_;
};
