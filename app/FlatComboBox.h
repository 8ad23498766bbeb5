#pragma once
// A drop-down list whose background colour is one flat fill: the styles shade a
// button's colour into a gradient, which washes out the month selector's signal
// colours.

#include <QComboBox>

class FlatComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};
