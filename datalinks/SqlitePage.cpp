#include "datalinks/SqlitePage.h"

#include "datalinks/DataLinkModel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qb::datalinks {

SqlitePage::SqlitePage(DataLinkModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_file(new QLineEdit), m_readOnly(new QCheckBox(tr("Open &read-only"))),
      m_immutable(new QCheckBox(tr("&Immutable: the file never changes while it is open (read without locking)")))
{
    m_file->setObjectName(QStringLiteral("sqliteFile"));
    m_readOnly->setObjectName(QStringLiteral("sqliteReadOnly"));
    m_immutable->setObjectName(QStringLiteral("sqliteImmutable"));
    m_file->setPlaceholderText(tr("/path/to/database.db"));
    auto* browse = new QPushButton(tr("&Browse..."));
    browse->setObjectName(QStringLiteral("sqliteBrowse"));
    browse->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Specify the following to connect to an SQLite database:")));
    auto* step1 = new QLabel(tr("1. Select or enter a &database file:"));
    step1->setBuddy(m_file);
    layout->addWidget(step1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("2. Choose how to open it:")));
    layout->addWidget(m_readOnly);
    layout->addWidget(m_immutable);
    auto* note = new QLabel(tr("The file must exist: it is never created here."));
    note->setEnabled(false);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addStretch(1);

    connect(browse, &QPushButton::clicked, this, &SqlitePage::browse);
    connect(m_file, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setDatabaseFile(text);
        emit changed();
    });
    connect(m_readOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setReadOnly(on);
        emit changed();
    });
    connect(m_immutable, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setImmutable(on);
        load(); // immutable implies read-only
        emit changed();
    });
}

void SqlitePage::load()
{
    const QSignalBlocker b1(m_file), b2(m_readOnly), b3(m_immutable);
    if (m_file->text() != m_model.databaseFile())
        m_file->setText(m_model.databaseFile());
    m_immutable->setChecked(m_model.immutable());
    m_readOnly->setChecked(m_model.readOnly() || m_model.immutable());
    m_readOnly->setEnabled(!m_model.immutable());
}

void SqlitePage::browse()
{
    const QString current = m_model.databaseFile();
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(
        this, tr("Select an SQLite database file"), start,
        tr("SQLite databases (*.db *.sqlite *.sqlite3 *.db3);;All files (*)"));
    if (chosen.isEmpty())
        return;
    m_model.setDatabaseFile(chosen);
    load();
    emit changed();
}

} // namespace qb::datalinks
