#pragma once
// The Connection page of the ODBC provider: a data source name (the driver manager's user and
// system lists) or a driver with its own keys; the log-on; the initial catalog.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace qb::datalinks {

class DataLinkModel;
class PropertyTable;

class OdbcPage : public QWidget {
    Q_OBJECT
public:
    OdbcPage(DataLinkModel& model, QWidget* parent = nullptr);
    void load();
    // Reads the driver manager's data source names and drivers again.
    void refreshLists();

signals:
    void changed();
    void problem(const QString& text);

private:
    void chooseSource(bool useDriver);
    void selectCurrent(QComboBox* box, const QString& name);

    DataLinkModel& m_model;
    QRadioButton* m_useDsn;
    QRadioButton* m_useDriver;
    QComboBox* m_dsn;
    QComboBox* m_driver;
    PropertyTable* m_driverKeys;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_keepPassword;
    QLineEdit* m_catalog;
};

} // namespace qb::datalinks
