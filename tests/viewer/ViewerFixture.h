#pragma once
// A viewer in a shown window under the offscreen platform, with helpers that
// size it in rows and columns and point at cells the way a user would.

#include "viewer/MemoEx.h"

#include "TempFile.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class MemoExTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(1400, 1000);
        memo_ = new TMemoEx(window_.get());
        memo_->UsePreviewSettings();
        memo_->setGeometry(0, 0, 600, 400);
        other_ = new QLineEdit(window_.get());
        other_->setGeometry(0, 900, 100, 30);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        memo_->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    // Sizes the viewer so exactly `rows` rows and `cols` columns fit.
    void SizeTo(int rows, int cols) {
        const int dw = memo_->width() - memo_->viewport()->width();
        const int dh = memo_->height() - memo_->viewport()->height();
        memo_->resize(memo_->TextLeft() + cols * memo_->CellWidth() + dw + 1,
                      rows * memo_->CellHeight() + dh + 1);
        ASSERT_EQ(memo_->VisibleRowCount(), rows);
        ASSERT_EQ(memo_->VisibleColCount(), cols);
    }

    // Loads lines as a print file and puts the caret at the start, as the preview does.
    void Load(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + "\r\n";
        file_ = std::make_unique<TempFile>(bytes);
        memo_->Lines().LoadFile(file_->Path());
        memo_->SetSelectionStart(0);
        memo_->SetSelectionLength(0);
    }

    void LoadNumbered(int count) {
        std::vector<std::string> lines;
        for (int i = 0; i < count; ++i)
            lines.push_back("line " + std::to_string(i));
        Load(lines);
    }

    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(memo_, static_cast<Qt::Key>(key), mods);
    }

    // A viewport pixel inside the cell; `rightHalf` picks its right half.
    QPoint Pixel(int col, int row, bool rightHalf = false) const {
        const int w = memo_->CellWidth();
        return QPoint(memo_->TextLeft() + (col - memo_->LeftCol()) * w +
                          (rightHalf ? w * 3 / 4 : w / 4),
                      (row - memo_->TopRow()) * memo_->CellHeight() + memo_->CellHeight() / 2);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), QPointF(memo_->viewport()->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, mods);
        QApplication::sendEvent(memo_->viewport(), &event);
    }

    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, button, mods);
        Mouse(QEvent::MouseButtonRelease, at, button, mods);
    }

    QTimer* AutoScrollTimer() const { return memo_->findChild<QTimer*>("autoScrollTimer"); }

    // One tick of the autoscroll timer, delivered as the event loop would.
    void Tick() {
        QTimer* timer = AutoScrollTimer();
        ASSERT_TRUE(timer->isActive());
        QTimerEvent event(timer->timerId());
        QApplication::sendEvent(timer, &event);
    }

    CellPos Caret() const { return CellPos{memo_->CaretX(), memo_->CaretY()}; }

    std::unique_ptr<QWidget> window_;
    TMemoEx* memo_ = nullptr;
    QLineEdit* other_ = nullptr;
    std::unique_ptr<TempFile> file_;
};

inline std::ostream& operator<<(std::ostream& out, const CellPos& cell) {
    return out << "(col " << cell.col << ", row " << cell.row << ")";
}
