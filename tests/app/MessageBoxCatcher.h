#pragma once
// Answers the message boxes a test provokes: each box that appears is noted
// with its text and closed with its OK button, so a modal box never blocks.

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

class MessageBoxCatcher : public QObject {
  public:
    MessageBoxCatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] { CloseBoxes(); });
        timer_.start(5);
    }

    const QStringList& Texts() const { return texts_; }
    // The icon of each box, in the same order: the tool's notices carry none,
    // the error box for what a handler did not catch carries the error icon.
    const QList<QMessageBox::Icon>& Icons() const { return icons_; }
    // The button a box with a question gets; without one it is closed unanswered.
    void AnswerQuestionsWith(QMessageBox::StandardButton answer) { answer_ = answer; }
    void Clear() {
        texts_.clear();
        icons_.clear();
    }

  private:
    void CloseBoxes() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible()) continue;
            texts_ << box->text();
            icons_ << box->icon();
            // Every box of the tool offers just OK.
            if (box->buttons().size() == 1 && box->button(QMessageBox::Ok) != nullptr)
                box->button(QMessageBox::Ok)->click();
            else if (answer_ != QMessageBox::NoButton && box->button(answer_) != nullptr)
                box->button(answer_)->click();
            else
                box->reject();
        }
    }

    QTimer timer_;
    QStringList texts_;
    QList<QMessageBox::Icon> icons_;
    QMessageBox::StandardButton answer_ = QMessageBox::NoButton;
};
