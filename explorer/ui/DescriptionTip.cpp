#include "explorer/ui/DescriptionTip.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QVBoxLayout>

namespace qb::ui {

DescriptionTip::DescriptionTip(QWidget* owner)
    : QFrame(owner, Qt::ToolTip | Qt::FramelessWindowHint), m_title(new QLabel(this)), m_text(new QLabel(this)),
      m_hideTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("descriptionTip"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    for (QLabel* label : {m_title, m_text}) {
        label->setTextFormat(Qt::PlainText);
        label->setForegroundRole(QPalette::ToolTipText);
        label->setWordWrap(true);
    }
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    setMaximumWidth(kMaxWidth);
    m_hideTimer->setSingleShot(true);
    connect(m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

QString DescriptionTip::oneLine(const QString& description)
{
    QString text = description.left(kMaxTextLength);
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    return text;
}

void DescriptionTip::showTip(const QString& title, const QString& text, const QPoint& globalPos)
{
    if (text.isEmpty()) {
        hide();
        return;
    }
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
    m_text->setText(text);
    // As wide as the text needs, up to the tip's maximum; longer texts wrap.
    const QMargins margins = layout()->contentsMargins();
    const int needed = std::max(m_title->fontMetrics().horizontalAdvance(title), m_text->fontMetrics().horizontalAdvance(text));
    setFixedWidth(std::min(kMaxWidth, needed + margins.left() + margins.right() + 2 * frameWidth() + 2));
    adjustSize();
    QPoint pos = globalPos;
    if (const QScreen* screen = QApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        pos.setX(std::min(pos.x(), area.right() - width()));
        pos.setY(std::min(pos.y(), area.bottom() - height()));
    }
    move(pos);
    show();
    raise();
    m_hideTimer->start(10 * QApplication::styleHints()->mouseDoubleClickInterval());
    qApp->installEventFilter(this);
}

bool DescriptionTip::eventFilter(QObject* watched, QEvent* event)
{
    // The next click or key anywhere puts the tip away (a click on a cell may show it again).
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        hide();
    return QFrame::eventFilter(watched, event);
}

void DescriptionTip::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QFrame::hideEvent(event);
}

QString DescriptionTip::title() const
{
    return m_title->text();
}

QString DescriptionTip::text() const
{
    return m_text->text();
}

} // namespace qb::ui
