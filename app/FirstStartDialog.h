#pragma once
// The first start on a desk where nothing names the host folder: the user
// chooses it, it is checked and saved in the user's settings file, and the
// window opens on it. Cancel ends the tool.

#include <QDialog>

class HostSettings;
class QLineEdit;

class FirstStartDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FirstStartDialog(const HostSettings& settings, QWidget* parent = nullptr);

    // The host folder chosen, once the dialog is accepted.
    QString ChosenFolder() const;

    // A folder that is no host is told and the user asked again.
    void accept() override;

  private:
    void Choose();
    // Checks and saves the folder; false when the user must choose again.
    bool TakeFolder();

    const HostSettings& settings_;
    QLineEdit* folder_;
};
