#include "tips/GradientStrip.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qb::tips {

GradientStrip::GradientStrip(QColor top, QColor bottom, QWidget* parent) : QWidget(parent), m_top(top), m_bottom(bottom)
{
}

void GradientStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_top);
    gradient.setColorAt(1, m_bottom);
    painter.fillRect(rect(), gradient);

    // The bulb: a glass, a base with two threads, a few rays.
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal cx = width() / 2.0;
    const qreal r = qMin(width() * 0.26, 14.0);
    const qreal cy = 14 + r * 1.6;
    QRadialGradient glass(QPointF(cx - r / 3, cy - r / 3), r * 1.4);
    glass.setColorAt(0, QColor(255, 255, 235));
    glass.setColorAt(1, QColor(255, 220, 60));
    QPainterPath bulb;
    bulb.addEllipse(QPointF(cx, cy), r, r);
    QPainterPath neck;
    neck.moveTo(cx - r * 0.75, cy + r * 0.6);
    neck.lineTo(cx - r * 0.45, cy + r * 1.45);
    neck.lineTo(cx + r * 0.45, cy + r * 1.45);
    neck.lineTo(cx + r * 0.75, cy + r * 0.6);
    neck.closeSubpath();
    painter.setPen(QPen(QColor(120, 100, 20), 1));
    painter.setBrush(glass);
    painter.drawPath(bulb.united(neck));
    painter.setBrush(QColor(150, 150, 160));
    painter.setPen(QPen(QColor(80, 80, 90), 1));
    for (int i = 0; i < 3; ++i)
        painter.drawRoundedRect(QRectF(cx - r * 0.5, cy + r * 1.45 + i * r * 0.28, r, r * 0.28), 2, 2);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    for (int i = -2; i <= 2; ++i) {
        const qreal angle = (i * 35 - 90) * M_PI / 180;
        const QPointF dir(std::cos(angle), std::sin(angle));
        painter.drawLine(QPointF(cx, cy) + dir * (r * 1.25), QPointF(cx, cy) + dir * (r * 1.6));
    }
}

} // namespace qb::tips
