// SPDX-License-Identifier: MIT
#pragma once
// A colour box (object names "Picture5" .. "Picture7") that reports a click: a left press and
// release inside it.
#include <QColor>
#include <QFrame>

namespace kuvell {

class ColourSwatch : public QFrame
{
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent);

    void setColour(const QColor& colour);
    QColor colour() const;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace kuvell
