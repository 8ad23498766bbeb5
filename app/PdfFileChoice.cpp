#include "app/PdfFileChoice.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString AskPdfFile(QWidget* parent, const std::string& nazov) {
    QFileDialog dialog(parent, QStringLiteral("Uložiť do PDF"));
    dialog.setObjectName("PdfFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // Replacing a file is asked by ConfirmPdfFile, the same way whichever dialog the desktop
    // offers.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(QString::fromStdString(nazov).trimmed() + ".pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString ConfirmPdfFile(QWidget* parent, QString file) {
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) file += ".pdf";
    if (!QFileInfo::exists(file)) return file;
    QMessageBox ask(QMessageBox::Question, QApplication::applicationName(),
                    QStringLiteral("Súbor „%1“ už existuje. Nahradiť ho?").arg(file),
                    QMessageBox::Yes | QMessageBox::No, parent);
    ask.setDefaultButton(QMessageBox::No);
    return ask.exec() == QMessageBox::Yes ? file : QString();
}
