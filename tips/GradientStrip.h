#pragma once
// The coloured strip at the left of the tips dialog: a gradient from top to bottom with a
// light bulb drawn near its top.
#include <QColor>
#include <QWidget>

namespace qb::tips {

class GradientStrip : public QWidget {
    Q_OBJECT
public:
    GradientStrip(QColor top, QColor bottom, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_top;
    QColor m_bottom;
};

} // namespace qb::tips
