#pragma once
// "Nastavenia...": the host folder and the two code pages of the user's
// settings file, with a sample of the shown catalog as the chosen pages read
// it. OK saves; the window then applies what changed. Cancel changes nothing.

#include "app/CodePageSample.h"

#include <QDialog>

#include <functional>

class HostSettings;
class QComboBox;
class QLabel;
class QLineEdit;

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // The sample of the shown catalog with an ANSI and an OEM page.
    using Sampler = std::function<CodePageSample(int ansi, int oem)>;

    SettingsDialog(const HostSettings& settings, Sampler sampler, QWidget* parent = nullptr);

    // Checks the host folder and saves; a problem is told and the dialog stays.
    void accept() override;

  private:
    void ChooseFolder();
    void ShowSample();
    // The page a list stands for: its choice, or the one in force without the
    // user's file for "podľa jazyka systému".
    int ChosenPage(const QComboBox* list, int withoutUserFile) const;

    const HostSettings& settings_;
    Sampler sampler_;
    QLineEdit* hostFolder_;
    QComboBox* ansi_;
    QComboBox* oem_;
    QLabel* samplePopis_;
    QLabel* sampleLine_;
};
