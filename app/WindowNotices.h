#pragma once
// How the window tells the user what happened: a notice that waits for OK (a
// missing print file, a page range beyond the document), an error box, and
// what later becomes of a print job the spooler accepted, and a mail program
// that did not answer, told in boxes that do not hold up the window.

#include <QObject>
#include <QString>

#include <filesystem>
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
    // No mail program took the report: where its PDF waits, with the folder
    // offered to open.
    void MailNotAnswered(const std::filesystem::path& pdf);

  private:
    void FollowJob(const std::string& printer, int jobId);
    void ShowLater(const QString& text, bool error);

    QWidget* window_;
};
