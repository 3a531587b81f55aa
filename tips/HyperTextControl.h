#pragma once
// A text with line breaks whose links (HyperText.h) are drawn in the link colour, the one under
// the pointer in the hover colour, with a hand cursor and the target as tool tip over them. A
// click opens the target with the desktop's default handler (QDesktopServices::openUrl); a
// failure there is not reported.
#include "tips/HyperText.h"

#include <QColor>
#include <QTextLayout>
#include <QWidget>
#include <memory>
#include <vector>

namespace qb::tips {

class HyperTextControl : public QWidget {
    Q_OBJECT
    // The text and the number of laid-out lines, readable through the meta-object also from
    // outside the library (its C++ names are hidden there).
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(int lineCount READ lineCount)
public:
    explicit HyperTextControl(QWidget* parent = nullptr);
    ~HyperTextControl() override;

    void setText(const QString& text);
    const QString& text() const { return m_text; }
    const std::vector<HyperLink>& links() const { return m_links; }

    void setTextColor(const QColor& c);
    void setLinkColor(const QColor& c);
    void setHoverColor(const QColor& c);
    void setUnderlineLinks(bool on);

    // Laid out lines of text for the current width (a line break or a wrap starts a new one).
    int lineCount() const;
    // The text of a laid-out line (without its line break).
    QString lineText(int line) const;
    // The middle of the link's first character: where a click opens it. Null when not shown.
    QPoint linkPosition(int link) const;
    // The link under the point, or -1.
    int linkAt(const QPoint& point) const;
    int hoveredLink() const { return m_hovered; }

    QSize sizeHint() const override;

signals:
    void linkActivated(const QString& target);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Paragraph {
        qsizetype start = 0; // in m_text
        std::unique_ptr<QTextLayout> layout;
        qreal top = 0;
    };

    void relayout();
    void setHovered(int link);
    // Position in m_text under the point, or -1 when the point is not over a character.
    qsizetype positionAt(const QPoint& point) const;

    QString m_text;
    std::vector<HyperLink> m_links;
    std::vector<Paragraph> m_paragraphs;
    QColor m_textColor = Qt::black;
    QColor m_linkColor{0, 0, 255};
    QColor m_hoverColor{255, 0, 0};
    bool m_underline = true;
    int m_hovered = -1;
    int m_pressed = -1;
};

} // namespace qb::tips
