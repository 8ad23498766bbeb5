#include "app/WindowNotices.h"

#include "app/ErrorGuard.h"
#include "app/PrintOutcome.h"
#include "app/print/JobFollower.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

WindowNotices::WindowNotices(QWidget* window) : QObject(window), window_(window) {}

void WindowNotices::Notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    window_);
    box.exec();
}

void WindowNotices::Show(const PrintOutcome& outcome) {
    if (outcome.kind == PrintOutcome::Kind::Accepted)
        FollowJob(outcome.printer, outcome.jobId);
    else if (outcome.IsNotice())
        Notice(QString::fromStdString(outcome.message));
    else if (!outcome.Succeeded())
        ShowErrorBox(QString::fromStdString(outcome.message));
}

void WindowNotices::FollowJob(const std::string& printer, int jobId) {
    auto* follower = new print::JobFollower(printer, jobId, this);
    connect(follower, &print::JobFollower::Waiting, this,
            [this](const QString& notice) { ShowLater(notice, false); });
    connect(follower, &print::JobFollower::Failed, this,
            [this](const QString& message) { ShowLater(message, true); });
}

void WindowNotices::ShowLater(const QString& text, bool error) {
    // The job's fate arrives while the user does something else: a box that
    // waits for OK without stopping the window.
    auto* box = new QMessageBox(error ? QMessageBox::Critical : QMessageBox::NoIcon,
                                QApplication::applicationName(), text, QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
