#include "datalinks/DataLinkDialog.h"

#include "dataaccess/DataSourceFactory.h"
#include "datalinks/OdbcPage.h"
#include "datalinks/PropertyTable.h"
#include "datalinks/ProviderPage.h"
#include "datalinks/SqlitePage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace qb::datalinks {
namespace {

enum Tab { ProviderTab, ConnectionTab, AllTab };

QLabel* problemLabel()
{
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    label->hide();
    return label;
}

} // namespace

DataLinkDialog::DataLinkDialog(QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget), m_providerPage(new ProviderPage(m_model)),
      m_connectionPages(new QStackedWidget), m_sqlitePage(new SqlitePage(m_model)), m_odbcPage(new OdbcPage(m_model)),
      m_otherProvider(new QLabel), m_testButton(new QPushButton(tr("&Test Connection"))), m_testResult(new QLabel),
      m_all(new PropertyTable), m_allProblem(problemLabel())
{
    setWindowTitle(tr("Data Link Properties"));
    m_tabs->setObjectName(QStringLiteral("pages"));
    m_testButton->setObjectName(QStringLiteral("testConnection"));
    m_testButton->setAutoDefault(false); // Enter anywhere else means OK
    m_testResult->setObjectName(QStringLiteral("testResult"));
    m_all->setObjectName(QStringLiteral("allProperties"));
    m_testResult->setWordWrap(true);
    m_testResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_otherProvider->setWordWrap(true);
    m_otherProvider->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    m_connectionPages->addWidget(m_sqlitePage);
    m_connectionPages->addWidget(m_odbcPage);
    m_connectionPages->addWidget(m_otherProvider);
    auto* connection = new QWidget;
    auto* connectionLayout = new QVBoxLayout(connection);
    connectionLayout->addWidget(m_connectionPages, 1);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_testResult, 1);
    testRow->addWidget(m_testButton, 0, Qt::AlignTop);
    connectionLayout->addLayout(testRow);

    auto* all = new QWidget;
    auto* allLayout = new QVBoxLayout(all);
    allLayout->addWidget(new QLabel(tr("Every property of the connection string. Double-click a value to change it; "
                                       "type a name in the last row to add a property; clear a name to remove it.")));
    allLayout->itemAt(0)->widget()->setProperty("wordWrap", true);
    allLayout->addWidget(m_all, 1);
    allLayout->addWidget(m_allProblem);

    m_tabs->addTab(m_providerPage, tr("Provider"));
    m_tabs->addTab(connection, tr("Connection"));
    m_tabs->addTab(all, tr("All"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    resize(560, 560);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &DataLinkDialog::loadPage);
    connect(m_testButton, &QPushButton::clicked, this, &DataLinkDialog::testConnection);
    connect(m_providerPage, &ProviderPage::changed, this, &DataLinkDialog::clearTestOutcome);
    connect(m_providerPage, &ProviderPage::nextPage, this, [this] { showPage(ConnectionTab); });
    connect(m_sqlitePage, &SqlitePage::changed, this, &DataLinkDialog::clearTestOutcome);
    connect(m_odbcPage, &OdbcPage::changed, this, &DataLinkDialog::clearTestOutcome);
    connect(m_odbcPage, &OdbcPage::problem, this, [this](const QString& text) {
        showTestOutcome({false, text});
    });
    connect(m_all, &PropertyTable::edited, this, [this] {
        m_model.setEntries(m_all->entries());
        m_allProblem->hide();
        clearTestOutcome();
    });
    connect(m_all, &PropertyTable::problem, this, &DataLinkDialog::showProblem);

    reload();
}

DataLinkDialog::~DataLinkDialog()
{
    if (m_tester) {
        m_tester->wait();
        delete m_tester;
    }
}

void DataLinkDialog::reload()
{
    loadPage(m_tabs->currentIndex());
}

void DataLinkDialog::showPage(int index)
{
    if (m_tabs->currentIndex() == index)
        loadPage(index);
    else
        m_tabs->setCurrentIndex(index); // loads it
}

void DataLinkDialog::loadPage(int index)
{
    switch (index) {
    case ProviderTab:
        m_providerPage->load();
        break;
    case ConnectionTab:
        showConnectionPage();
        break;
    case AllTab:
        m_all->setEntries(m_model.entries());
        break;
    }
}

void DataLinkDialog::showConnectionPage()
{
    switch (m_model.provider()) {
    case ProviderKind::Sqlite:
        m_sqlitePage->load();
        m_connectionPages->setCurrentWidget(m_sqlitePage);
        break;
    case ProviderKind::Odbc:
        m_odbcPage->load();
        m_connectionPages->setCurrentWidget(m_odbcPage);
        break;
    case ProviderKind::Other:
        m_otherProvider->setText(
            tr("The provider \"%1\" is not known here; known providers: %2.\n\nIts properties can be edited on the All page.")
                .arg(m_model.providerName(), data::providerNames().join(QStringLiteral(", "))));
        m_connectionPages->setCurrentWidget(m_otherProvider);
        break;
    }
}

void DataLinkDialog::testConnection()
{
    if (m_tester)
        return;
    m_testButton->setEnabled(false);
    m_testResult->setStyleSheet(QString());
    m_testResult->setText(tr("Testing the connection..."));
    auto outcome = std::make_shared<TestOutcome>();
    m_tester = QThread::create([outcome, text = m_model.connectionString()] { *outcome = DataLinkModel::testConnection(text); });
    connect(m_tester, &QThread::finished, this, [this, outcome] {
        m_tester->wait();
        delete std::exchange(m_tester, nullptr);
        m_testButton->setEnabled(true);
        showTestOutcome(outcome->succeeded ? *outcome : TestOutcome{false, tr("Test connection failed:\n%1").arg(outcome->text)});
        emit testFinished(outcome->succeeded);
    });
    m_tester->start();
}

void DataLinkDialog::showTestOutcome(const TestOutcome& outcome)
{
    m_testResult->setStyleSheet(outcome.succeeded ? QStringLiteral("color: #006000") : QStringLiteral("color: #b00000"));
    m_testResult->setText(outcome.text);
}

void DataLinkDialog::clearTestOutcome()
{
    if (!m_tester)
        m_testResult->clear();
}

void DataLinkDialog::showProblem(const QString& text)
{
    m_allProblem->setText(text);
    m_allProblem->show();
}

} // namespace qb::datalinks
