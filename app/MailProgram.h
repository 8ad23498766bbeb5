#pragma once
// The desktop's mail program, reached through xdg-email: a new message with a
// subject and a file attached, for the user to address and send. The program
// runs beside the window, which never waits for it; its answer arrives as a
// signal.

#include <QObject>
#include <QProcess>
#include <QString>

#include <filesystem>

class MailProgram : public QObject {
    Q_OBJECT
  public:
    explicit MailProgram(QObject* parent = nullptr);

    // Asks the mail program for a message with the file attached. One message
    // at a time: a second request while the first is on its way is ignored and
    // gives false.
    bool Compose(const std::filesystem::path& attachment, const QString& subject);
    bool Busy() const { return process_.state() != QProcess::NotRunning; }

  signals:
    // The mail program took the message.
    void Answered();
    // No mail program is set up, xdg-email is missing, or the program failed.
    void NoAnswer();

  private:
    QProcess process_;
};
