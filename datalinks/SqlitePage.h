#pragma once
// The Connection page of the SQLite provider: the database file (typed or browsed for) and the
// open options.
#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace qb::datalinks {

class DataLinkModel;

class SqlitePage : public QWidget {
    Q_OBJECT
public:
    SqlitePage(DataLinkModel& model, QWidget* parent = nullptr);
    void load();

signals:
    void changed();

private:
    void browse();

    DataLinkModel& m_model;
    QLineEdit* m_file;
    QCheckBox* m_readOnly;
    QCheckBox* m_immutable;
};

} // namespace qb::datalinks
