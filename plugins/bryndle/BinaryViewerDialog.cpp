#include "BinaryViewerDialog.h"

#include "CHexEditBase.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace bryndle {

BinaryViewerDialog::BinaryViewerDialog(std::unique_ptr<HexBuffer> data, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Binary Viewer"));
    m_view = new CHexEditBase(this);
    if (data && data->length() > 0) {
        m_view->setAddressDigits(4, false);
        m_view->setShowAddress(true, false);
        m_view->setBytesPerLine(8, true, false);
        m_view->setShowCharacters(true, false);
    }
    m_view->setBuffer(std::move(data));

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* about = new QPushButton(QStringLiteral("&About"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    about->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(about, &QPushButton::clicked, this, [this] { showAbout(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(about);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);

    // The design size, 336 x 214 dialog units: a quarter of the average character width across,
    // an eighth of the character height down.
    const QFontMetrics fm = fontMetrics();
    setFixedSize(336 * fm.averageCharWidth() / 4, 214 * fm.height() / 8);
    m_view->setFocus();
}

void BinaryViewerDialog::showAbout(QWidget* parent)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("About BRYNDLE Plug In"),
                    QStringLiteral("BRYNDLE Plug In for Quillbase, Version 1.0.4\n"
                                   "Copyright (C) Marrowind. All rights reserved."),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace bryndle
