#pragma once
// The Provider page: which provider the link uses, and a field that takes a whole connection
// string (pasted from elsewhere) in place of everything set so far.
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

namespace qb::datalinks {

class DataLinkModel;

class ProviderPage : public QWidget {
    Q_OBJECT
public:
    ProviderPage(DataLinkModel& model, QWidget* parent = nullptr);
    void load();

signals:
    // The provider changed, or a pasted string replaced the whole set.
    void changed();
    void nextPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void useConnectionString();

    DataLinkModel& m_model;
    QListWidget* m_providers;
    QLineEdit* m_string;
    QLabel* m_stringProblem;
};

} // namespace qb::datalinks
