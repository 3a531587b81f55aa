#include "explorer/plugins/ui/TextViewerDialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace qb::plugins {
namespace {

TextViewerDialog::AboutBox& aboutBox()
{
    static TextViewerDialog::AboutBox about = [](QWidget* over) {
        QMessageBox::about(over, QStringLiteral("About Vexa@Qorvex"),
                           QStringLiteral("Vexa@Qorvex, the Quillbase database explorer, version 1.6"));
    };
    return about;
}

// The dialog's first size, from its design size in dialog units (a quarter of the average
// character width across, an eighth of the character height down).
QSize designSize(const QFontMetrics& fm)
{
    return {284 * fm.averageCharWidth() / 4, 188 * fm.height() / 8};
}

} // namespace

void TextViewerDialog::setAboutBox(AboutBox about)
{
    aboutBox() = std::move(about);
}

TextViewerDialog::TextViewerDialog(const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Showing data as plain text"));
    setSizeGripEnabled(false); // placed by hand so it can hide while maximised
    m_text = new QPlainTextEdit(this);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setPlainText(text);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* about = new QPushButton(QStringLiteral("&About"), this);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(about, &QPushButton::clicked, this, [this] { aboutBox()(this); });

    m_grip = new QSizeGrip(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(about);
    buttons->addWidget(close);
    buttons->addWidget(m_grip, 0, Qt::AlignBottom | Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    resize(designSize(fontMetrics()));
}

void TextViewerDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_sized) {
        m_sized = true;
        setMinimumSize(size()); // never smaller than it opened
    }
}

void TextViewerDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_grip->setVisible(!(windowState() & Qt::WindowMaximized));
}

} // namespace qb::plugins
