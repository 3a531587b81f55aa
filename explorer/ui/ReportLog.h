#pragma once
// The report pane's log: entries of a kind (0 error, 1 information, anything else none), a local
// time and the caller's text, newest first, kept for the life of the window. The list draws
// "There are no items in report window" while it is empty.
#include <QAbstractTableModel>
#include <QDateTime>
#include <QTableView>
#include <vector>

namespace qb::ui {

class ReportModel : public QAbstractTableModel {
public:
    enum Kind : int { Error = 0, Information = 1 };
    enum Column : int { TypeColumn = 0, TimeColumn = 1, DescriptionColumn = 2 };

    explicit ReportModel(QObject* parent = nullptr);

    void addEntry(const QString& text, int kind, const QDateTime& when = QDateTime::currentDateTime());

    static QString kindText(int kind);
    // Month, day, year, hour, minute, second and millisecond: "07.21.2002 14:03:09:045".
    static QString timeText(const QDateTime& when);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Entry {
        int kind;
        QString time;
        QString text;
    };
    std::vector<Entry> m_entries; // oldest first; row 0 shows the last one
};

class ReportView : public QTableView {
public:
    explicit ReportView(QWidget* parent = nullptr);

    // Grid lines, full-row selection; flat scroll bars have no Qt counterpart.
    void setStyles(bool grid, bool fullRow);
    ReportModel& log() { return *m_model; }
    static QString emptyText();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ReportModel* m_model;
};

} // namespace qb::ui
