#include "datalinks/OdbcPage.h"

#include "dataaccess/providers/odbc/OdbcDriverManager.h"
#include "datalinks/DataLinkModel.h"
#include "datalinks/PropertyTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qb::datalinks {
namespace {

// The combo's item data holds the bare name; the text may carry a note.
constexpr int kNameRole = Qt::UserRole;
constexpr int kNotListedRole = Qt::UserRole + 1;

} // namespace

OdbcPage::OdbcPage(DataLinkModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_useDsn(new QRadioButton(tr("Use &data source name:"))),
      m_useDriver(new QRadioButton(tr("Use a dri&ver and its keys:"))), m_dsn(new QComboBox), m_driver(new QComboBox),
      m_driverKeys(new PropertyTable), m_user(new QLineEdit), m_password(new QLineEdit),
      m_keepPassword(new QCheckBox(tr("Allow &saving password (kept in the data link file as plain text)"))),
      m_catalog(new QLineEdit)
{
    m_useDsn->setObjectName(QStringLiteral("odbcUseDsn"));
    m_useDriver->setObjectName(QStringLiteral("odbcUseDriver"));
    m_dsn->setObjectName(QStringLiteral("odbcDsn"));
    m_driver->setObjectName(QStringLiteral("odbcDriver"));
    m_driverKeys->setObjectName(QStringLiteral("odbcDriverKeys"));
    m_user->setObjectName(QStringLiteral("odbcUser"));
    m_password->setObjectName(QStringLiteral("odbcPassword"));
    m_keepPassword->setObjectName(QStringLiteral("odbcKeepPassword"));
    m_catalog->setObjectName(QStringLiteral("odbcCatalog"));
    m_password->setEchoMode(QLineEdit::Password);
    m_driverKeys->setMinimumHeight(90);

    auto* sources = new QButtonGroup(this);
    sources->addButton(m_useDsn);
    sources->addButton(m_useDriver);
    auto* refresh = new QPushButton(tr("&Refresh"));
    refresh->setObjectName(QStringLiteral("odbcRefresh"));
    refresh->setAutoDefault(false);

    auto* sourceBox = new QGroupBox(tr("1. Specify the source of data"));
    auto* sourceLayout = new QGridLayout(sourceBox);
    sourceLayout->addWidget(m_useDsn, 0, 0);
    sourceLayout->addWidget(m_dsn, 0, 1);
    sourceLayout->addWidget(refresh, 0, 2);
    sourceLayout->addWidget(m_useDriver, 1, 0);
    sourceLayout->addWidget(m_driver, 1, 1, 1, 2);
    sourceLayout->addWidget(m_driverKeys, 2, 0, 1, 3);
    sourceLayout->setColumnStretch(1, 1);

    auto* logonBox = new QGroupBox(tr("2. Enter information to log on to the server"));
    auto* logon = new QFormLayout(logonBox);
    logon->addRow(tr("&User name:"), m_user);
    logon->addRow(tr("&Password:"), m_password);
    logon->addRow(m_keepPassword);

    auto* catalogBox = new QGroupBox(tr("3. Enter the initial &catalog (database) to use"));
    auto* catalog = new QVBoxLayout(catalogBox);
    catalog->addWidget(m_catalog);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sourceBox);
    layout->addWidget(logonBox);
    layout->addWidget(catalogBox);
    layout->addStretch(1);

    const QList<QWidget*> tabOrder{m_useDsn, m_dsn,      refresh,  m_useDriver,     m_driver,
                                   m_driverKeys, m_user, m_password, m_keepPassword, m_catalog};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    connect(refresh, &QPushButton::clicked, this, &OdbcPage::refreshLists);
    connect(m_useDsn, &QRadioButton::toggled, this, [this](bool on) { chooseSource(!on); });
    connect(m_dsn, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.setDataSourceName(m_dsn->itemData(index, kNameRole).toString());
        emit changed();
    });
    connect(m_driver, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.setDriver(m_driver->itemData(index, kNameRole).toString());
        const QSignalBlocker block(m_driverKeys);
        m_driverKeys->setEntries(m_model.driverKeys());
        emit changed();
    });
    connect(m_driverKeys, &PropertyTable::edited, this, [this] {
        m_model.setDriverKeys(m_driverKeys->entries());
        emit changed();
    });
    connect(m_driverKeys, &PropertyTable::problem, this, &OdbcPage::problem);
    connect(m_user, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setUserName(text);
        emit changed();
    });
    connect(m_password, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setPassword(text);
        emit changed();
    });
    connect(m_keepPassword, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setKeepPassword(on);
        emit changed();
    });
    connect(m_catalog, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setInitialCatalog(text);
        emit changed();
    });
    refreshLists();
}

void OdbcPage::refreshLists()
{
    {
        const QSignalBlocker b1(m_dsn), b2(m_driver);
        m_dsn->clear();
        for (const auto& source : data::odbc::listDataSources()) {
            const QString where = source.system ? tr("system") : tr("user");
            m_dsn->addItem(QStringLiteral("%1  (%2, %3)").arg(source.name, where, source.driver), source.name);
        }
        m_driver->clear();
        for (const auto& driver : data::odbc::listDrivers())
            m_driver->addItem(driver.name, driver.name);
    }
    load();
}

// The lists hold what the driver manager knows now; a name from elsewhere (a file made on another
// computer) is shown as it is, marked, rather than silently replaced.
void OdbcPage::selectCurrent(QComboBox* box, const QString& name)
{
    const int stale = box->findData(true, kNotListedRole);
    if (stale >= 0)
        box->removeItem(stale);
    if (name.isEmpty()) {
        box->setCurrentIndex(-1);
        return;
    }
    int index = box->findData(name, kNameRole, Qt::MatchFixedString);
    if (index < 0) {
        box->addItem(tr("%1  (not known to the driver manager)").arg(name), name);
        index = box->count() - 1;
        box->setItemData(index, true, kNotListedRole);
    }
    box->setCurrentIndex(index);
}

void OdbcPage::load()
{
    const QSignalBlocker b1(m_useDsn), b2(m_useDriver), b3(m_dsn), b4(m_driver), b5(m_driverKeys), b6(m_user),
        b7(m_password), b8(m_keepPassword), b9(m_catalog);
    const bool useDriver = m_model.odbcSource() == OdbcSource::Driver;
    m_useDsn->setChecked(!useDriver);
    m_useDriver->setChecked(useDriver);
    m_dsn->setEnabled(!useDriver);
    m_driver->setEnabled(useDriver);
    m_driverKeys->setVisible(useDriver);
    // The driver's keys take the spare room when shown; otherwise it stays below the fields.
    auto* column = static_cast<QBoxLayout*>(layout());
    column->setStretch(0, useDriver ? 1 : 0);
    column->setStretch(3, useDriver ? 0 : 1);
    selectCurrent(m_dsn, m_model.dataSourceName());
    selectCurrent(m_driver, m_model.driver());
    m_driverKeys->setEntries(useDriver ? m_model.driverKeys() : std::vector<DataLinkModel::Entry>{});
    m_user->setText(m_model.userName());
    m_password->setText(m_model.password());
    m_keepPassword->setChecked(m_model.keepPassword());
    m_catalog->setText(m_model.initialCatalog());
}

void OdbcPage::chooseSource(bool useDriver)
{
    m_model.setOdbcSource(useDriver ? OdbcSource::Driver : OdbcSource::DataSourceName);
    load();
    // The next thing to do is to pick from the list just enabled.
    (useDriver ? m_driver : m_dsn)->setFocus();
    emit changed();
}

} // namespace qb::datalinks
