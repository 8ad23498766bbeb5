#pragma once
// Places child widgets by their design rectangle and keeps their distances to
// the anchored edges of the parent when it is resized.

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace anchors {
inline constexpr int kLeft = 1;
inline constexpr int kTop = 2;
inline constexpr int kRight = 4;
inline constexpr int kBottom = 8;
inline constexpr int kAll = kLeft | kTop | kRight | kBottom;
} // namespace anchors

class AnchorLayout : public QObject {
  public:
    // designSize is the parent's size the design rectangles were drawn for.
    AnchorLayout(QWidget* parent, QSize designSize);

    void Place(QWidget* child, QRect designRect, int anchors);
    // A placed child's design rectangle, and a new one for it (anchors kept).
    QRect DesignRect(const QWidget* child) const;
    void Reshape(const QWidget* child, QRect designRect);

    // A child's rectangle for a given parent size.
    static QRect Arrange(QRect designRect, int anchors, QSize designSize, QSize parentSize);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Item {
        QWidget* child;
        QRect designRect;
        int anchors;
    };
    void ArrangeAll();

    QWidget* parent_;
    QSize designSize_;
    std::vector<Item> items_;
};
