#include "datalinks/ProviderPage.h"

#include "dataaccess/Provider.h"
#include "datalinks/DataLinkModel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qb::datalinks {
namespace {

constexpr int kKindRole = Qt::UserRole;

} // namespace

ProviderPage::ProviderPage(DataLinkModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_providers(new QListWidget), m_string(new QLineEdit), m_stringProblem(new QLabel)
{
    m_providers->setObjectName(QStringLiteral("providerList"));
    m_string->setObjectName(QStringLiteral("connectionString"));
    m_stringProblem->setObjectName(QStringLiteral("connectionStringProblem"));
    // Empty, for a paste: showing the current string here would show its password too.
    m_string->setPlaceholderText(QStringLiteral("Provider=ODBC;DSN=...;UID=..."));
    m_stringProblem->setWordWrap(true);
    m_stringProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_stringProblem->hide();

    auto* sqlite = new QListWidgetItem(tr("SQLite: a database file on this computer"), m_providers);
    sqlite->setData(kKindRole, int(ProviderKind::Sqlite));
    auto* odbc = new QListWidgetItem(tr("ODBC: a data source name or a driver of the ODBC driver manager"), m_providers);
    odbc->setData(kKindRole, int(ProviderKind::Odbc));

    auto* use = new QPushButton(tr("&Use"));
    use->setAutoDefault(false);
    use->setObjectName(QStringLiteral("useConnectionString"));
    auto* next = new QPushButton(tr("&Next >>"));
    next->setAutoDefault(false);
    next->setObjectName(QStringLiteral("providerNext"));

    auto* layout = new QVBoxLayout(this);
    auto* pick = new QLabel(tr("Select the &kind of data you want to connect to:"));
    pick->setBuddy(m_providers);
    layout->addWidget(pick);
    m_providers->setMaximumHeight(m_providers->sizeHintForRow(0) * 2 + 2 * m_providers->frameWidth() + 8);
    layout->addWidget(m_providers);
    auto* paste = new QLabel(tr("Or paste a whole connection &string here:"));
    paste->setBuddy(m_string);
    layout->addWidget(paste);
    auto* stringRow = new QHBoxLayout;
    stringRow->addWidget(m_string, 1);
    stringRow->addWidget(use);
    layout->addLayout(stringRow);
    layout->addWidget(m_stringProblem);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(next);
    layout->addLayout(buttons);

    connect(m_providers, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!item)
            return;
        m_model.setProvider(ProviderKind(item->data(kKindRole).toInt()));
        load();
        emit changed();
    });
    connect(m_providers, &QListWidget::itemDoubleClicked, this, &ProviderPage::nextPage);
    connect(use, &QPushButton::clicked, this, &ProviderPage::useConnectionString);
    // Enter in the field takes the string; it must not also reach the dialog's OK button.
    m_string->installEventFilter(this);
    connect(next, &QPushButton::clicked, this, &ProviderPage::nextPage);
}

void ProviderPage::load()
{
    const QSignalBlocker block(m_providers);
    m_providers->setCurrentItem(nullptr);
    for (int i = 0; i < m_providers->count(); ++i)
        if (ProviderKind(m_providers->item(i)->data(kKindRole).toInt()) == m_model.provider())
            m_providers->setCurrentRow(i);
}

bool ProviderPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_string && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            useConnectionString();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProviderPage::useConnectionString()
{
    if (m_string->text().trimmed().isEmpty())
        return;
    try {
        m_model.load(m_string->text().trimmed());
    } catch (const data::ProviderError& e) {
        m_stringProblem->setText(e.description());
        m_stringProblem->show();
        return;
    }
    m_stringProblem->hide();
    m_string->clear();
    load();
    emit changed();
}

} // namespace qb::datalinks
