#include "app/MailProgram.h"

#include <QStringList>

MailProgram::MailProgram(QObject* parent) : QObject(parent), process_(this) {
    // A mail program left running in the foreground may write for hours; a
    // pipe nobody reads would stall it.
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.setStandardInputFile(QProcess::nullDevice());
    connect(&process_, &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                if (status == QProcess::NormalExit && exitCode == 0)
                    emit Answered();
                else
                    emit NoAnswer();
            });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A crash or a kill ends in finished() as well; only a failed start does not.
        if (error == QProcess::FailedToStart) emit NoAnswer();
    });
}

bool MailProgram::Compose(const std::filesystem::path& attachment, const QString& subject) {
    if (Busy()) return false;
    // Our texts are UTF-8 whatever the user's locale; xdg-email would otherwise
    // convert them from the locale's character set.
    QStringList arguments{QStringLiteral("--utf8")};
    // xdg-email refuses an empty subject as a syntax error.
    if (!subject.trimmed().isEmpty()) arguments << QStringLiteral("--subject") << subject.trimmed();
    arguments << QStringLiteral("--attach") << QString::fromStdString(attachment.string());
    process_.start(QStringLiteral("xdg-email"), arguments);
    return true;
}
