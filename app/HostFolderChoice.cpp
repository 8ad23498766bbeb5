#include "app/HostFolderChoice.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

QString AskHostFolder(QWidget* parent, const char* objectName, const QString& start) {
    QFileDialog chooser(parent, QStringLiteral("Priečinok hostiteľského systému"));
    chooser.setObjectName(objectName);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setDirectory(start.isEmpty() ? QDir::homePath() : start);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
    return chooser.selectedFiles().constFirst();
}

void TellUser(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}
