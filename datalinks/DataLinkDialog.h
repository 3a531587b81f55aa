#pragma once
// The Data Link Properties dialog: Provider, Connection (one page per provider, with Test
// Connection) and All (every property as an editable pair). The widgets only show and edit the
// DataLinkModel; each page reloads from it when it is shown, so edits on one page appear on the
// others.
//
// Test Connection runs on a worker thread, which gets a copy of the string and touches no widget;
// its outcome comes back as a queued call. The dialog waits for a test still running when it is
// destroyed.
#include "datalinks/DataLinkModel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QThread;

namespace qb::datalinks {

class OdbcPage;
class PropertyTable;
class ProviderPage;
class SqlitePage;

class DataLinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataLinkDialog(QWidget* parent = nullptr);
    ~DataLinkDialog() override;

    DataLinkModel& model() { return m_model; }
    const DataLinkModel& model() const { return m_model; }
    // Shows the model's state again after it was changed from outside (load()).
    void reload();
    // Opens the tab: 0 Provider, 1 Connection, 2 All.
    void showPage(int index);
    bool isTesting() const { return m_tester != nullptr; }

public slots:
    void testConnection();

signals:
    void testFinished(bool succeeded);

private:
    void loadPage(int index);
    void showConnectionPage();
    void showTestOutcome(const TestOutcome& outcome);
    void clearTestOutcome();
    void showProblem(const QString& text);

    DataLinkModel m_model;
    QTabWidget* m_tabs;
    ProviderPage* m_providerPage;
    QStackedWidget* m_connectionPages;
    SqlitePage* m_sqlitePage;
    OdbcPage* m_odbcPage;
    QLabel* m_otherProvider;
    QPushButton* m_testButton;
    QLabel* m_testResult;
    PropertyTable* m_all;
    QLabel* m_allProblem;
    QThread* m_tester = nullptr;
};

} // namespace qb::datalinks
