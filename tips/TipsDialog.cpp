#include "tips/TipsDialog.h"

#include "tips/GradientStrip.h"
#include "tips/HyperTextControl.h"
#include "tips/TipsTexts.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qb::tips {
namespace {

const QColor kHeadingColor(0, 0, 125);
const QColor kStripTop(210, 225, 255);
const QColor kStripBottom(160, 180, 255);
const QColor kLinkColor(0, 0, 255);
const QColor kHoverColor(0, 30, 160);

// Dialog units of the dialog's font: a quarter of the average character width, an eighth of the
// line height, so the dialog keeps its proportions with any font.
QSizeF dialogUnit(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(sample) / sample.size() / 4, metrics.height() / 8};
}

QWidget* whitePanel()
{
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

} // namespace

TipsDialog::TipsDialog(const QString& tipsPath, int showAtStartup, QWidget* centreOver, QWidget* parent)
    : QDialog(parent), m_file(tipsPath), m_show(new QCheckBox(showAtStartupText())),
      m_next(new QPushButton(nextTipText())), m_close(new QPushButton(closeText())), m_text(new HyperTextControl),
      m_centreOver(centreOver)
{
    setWindowTitle(tipsTitleText());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_show->setObjectName(QStringLiteral("showAtStartup"));
    m_next->setObjectName(QStringLiteral("nextTip"));
    m_close->setObjectName(QStringLiteral("close"));
    m_text->setObjectName(QStringLiteral("tipText"));
    const QSizeF du = dialogUnit(font());

    auto* heading = new QLabel(headingText());
    heading->setObjectName(QStringLiteral("heading"));
    heading->setFont(QFont(QStringLiteral("Arial"), 14));
    QPalette headingPalette = heading->palette();
    headingPalette.setColor(QPalette::WindowText, kHeadingColor);
    heading->setPalette(headingPalette);

    m_text->setFont(QFont(QStringLiteral("Arial"), 10));
    m_text->setLinkColor(kLinkColor);
    m_text->setHoverColor(kHoverColor);
    m_text->setTextColor(Qt::black);

    auto* strip = new GradientStrip(kStripTop, kStripBottom);
    strip->setObjectName(QStringLiteral("strip"));
    strip->setFixedWidth(qRound(48 * du.width()));

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: #a0a0a0"));

    QWidget* panel = whitePanel();
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(strip);
    auto* textColumn = new QVBoxLayout;
    textColumn->setContentsMargins(qRound(6 * du.width()), qRound(4 * du.height()), qRound(6 * du.width()),
                                   qRound(4 * du.height()));
    textColumn->addWidget(heading);
    textColumn->addWidget(line);
    textColumn->addSpacing(qRound(3 * du.height()));
    textColumn->addWidget(m_text, 1);
    panelLayout->addLayout(textColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_show);
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(qRound(7 * du.width()), qRound(7 * du.height()), qRound(7 * du.width()),
                               qRound(7 * du.height()));
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    resize(qRound(285 * du.width()), qRound(167 * du.height()));

    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_next, &QPushButton::clicked, this, &TipsDialog::showNextTip);

    m_show->setChecked(showAtStartup == 1);
    const QString caption = m_file.caption();
    if (!caption.isEmpty())
        setWindowTitle(caption);
    m_count = m_file.count();
    m_next->setEnabled(false);
    if (m_count > 0) {
        m_next->setEnabled(true);
        showNextTip();
    } else {
        m_text->setText(noTipsFileText());
    }
}

void TipsDialog::showNextTip()
{
    if (m_nextIndex >= m_count)
        return;
    m_text->setText(m_file.tip(m_nextIndex));
    ++m_nextIndex;
    if (m_nextIndex >= m_count) {
        // The focus would otherwise stay on a disabled button, where Enter does nothing.
        m_close->setFocus();
        m_next->setEnabled(false);
    }
}

bool TipsDialog::showAtStartup() const
{
    return m_show->isChecked();
}

bool TipsDialog::run()
{
    exec();
    return showAtStartup();
}

void TipsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Now that the layout has given the dialog its final size.
    place(m_centreOver);
}

void TipsDialog::place(QWidget* centreOver)
{
    QWidget* over = centreOver ? centreOver->window() : parentWidget() ? parentWidget()->window() : nullptr;
    if (over && !over->isVisible())
        over = nullptr;
    QScreen* screen = over ? over->screen() : this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), size());
    QRect frame(QPoint(), frameGeometry().size()); // move() places the frame
    frame.moveCenter(over ? over->frameGeometry().center() : area.center());
    frame.moveRight(qMin(frame.right(), area.right()));
    frame.moveBottom(qMin(frame.bottom(), area.bottom()));
    frame.moveLeft(qMax(frame.left(), area.left()));
    frame.moveTop(qMax(frame.top(), area.top()));
    move(frame.topLeft());
}

} // namespace qb::tips
